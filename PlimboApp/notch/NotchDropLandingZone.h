#pragma once

#include <QWidget>

namespace plimbo {

// What the expanded notch shows while files are dragged over it: an invitation to drop them
// on the shelf, in a dashed frame.
class NotchDropLandingZone : public QWidget {
    Q_OBJECT

public:
    static inline const QString title = QStringLiteral("Добавьте файлы на полку");
    static inline const QString message = QStringLiteral(
        "Они останутся здесь до закрытия челки — их можно унести обратно перетаскиванием");

    explicit NotchDropLandingZone(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace plimbo
