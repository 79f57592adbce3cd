#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace plimbo {

// Base of every failure that carries the text the user sees. Synchronous operations throw
// a subclass; asynchronous ones deliver it through their QFuture.
class PlimboError : public std::exception {
public:
    virtual QString description() const = 0;

    const char* what() const noexcept override {
        m_what = description().toUtf8();
        return m_what.constData();
    }

private:
    mutable QByteArray m_what;
};

} // namespace plimbo
