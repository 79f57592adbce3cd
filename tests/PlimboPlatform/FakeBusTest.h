#pragma once

#include "FakeBusService.h"

#include <gtest/gtest.h>

#include <QString>

#include <memory>

namespace plimbo::test {

// A test that talks to a stand-in `Fake` service published on the session bus (skipped when
// there is no bus): `fake` is the stand-in, `serviceName` its bus name, and publishFake() puts
// it on the bus, at the object path the test was made with.
template <typename Fake> class FakeBusTest : public testing::Test {
protected:
    // `kind` goes into the service name; `objectPath` is where the backend calls the service.
    FakeBusTest(QString kind, QString objectPath)
        : m_kind(std::move(kind))
        , m_objectPath(std::move(objectPath)) {}

    void SetUp() override {
        if (!FakeBusService::sessionBusIsAvailable()) {
            GTEST_SKIP() << "needs a D-Bus session bus (run through tools/test-session.sh)";
        }
        auto object = std::make_unique<Fake>();
        fake = object.get();
        m_bus = std::make_unique<FakeBusService>(m_kind, std::move(object));
        serviceName = m_bus->serviceName();
    }

    bool publishFake() { return m_bus->publish(m_objectPath); }
    // Sends from the stand-in's connection, as the real service would.
    bool sendFromFake(const QDBusMessage& message) { return m_bus->send(message); }

    Fake* fake = nullptr;
    QString serviceName;

private:
    QString m_kind;
    QString m_objectPath;
    std::unique_ptr<FakeBusService> m_bus;
};

} // namespace plimbo::test
