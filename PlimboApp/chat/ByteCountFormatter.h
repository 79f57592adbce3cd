#pragma once

#include <QLocale>
#include <QString>

namespace plimbo {

// File sizes as the desktop's file views write them: decimal units (1 KB = 1,000 bytes),
// whole kilobytes, one decimal for megabytes and two above, "Zero KB" for an empty file.
class ByteCountFormatter {
public:
    ByteCountFormatter() = delete;

    static QString fileString(qint64 byteCount, const QLocale& locale = QLocale());
};

} // namespace plimbo
