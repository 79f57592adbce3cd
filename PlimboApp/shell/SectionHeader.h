#pragma once

#include <QWidget>

class QLabel;

namespace plimbo {

// A section title over a line of detail, taking the full width, left-aligned. Both texts are
// shown verbatim and read together by assistive technology.
class SectionHeader : public QWidget {
    Q_OBJECT

public:
    SectionHeader(const QString& title, const QString& detail, QWidget* parent = nullptr);

    QString title() const;
    QString detail() const;

    QLabel* titleLabel() const { return m_title; }
    QLabel* detailLabel() const { return m_detail; }

private:
    QLabel* m_title;
    QLabel* m_detail;
};

} // namespace plimbo
