#pragma once

// Measures the contrast of every text a rendered widget tree shows against what is drawn under
// it: each text's area is rendered at twice the size, its most common colour taken as the
// background and its pixel farthest from that as the text colour (glyph stems are fully
// covered at that size). WCAG asks for 4.5:1 for normal text.

#include "ChatStyle.h"
#include "RichTextView.h"
#include "SentAIAttachmentView.h"

#include <QAbstractButton>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QWidget>

#include <cstdio>

namespace plimbo::screenshots {

struct ContrastReading {
    QString what;
    QRect area;
    qreal ratio = 0;
};

inline qreal measuredContrast(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            ++counts[image.pixel(x, y) | 0xff000000u];
        }
    }
    if (counts.isEmpty()) {
        return 21;
    }
    QRgb background = counts.cbegin().key();
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts[background]) {
            background = it.key();
        }
    }
    qreal best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        best = std::max(best, ChatStyle::contrast(QColor(it.key()), QColor(background)));
    }
    return best;
}

// Every shown label, text view, text button and attachment row under `root`.
inline QList<ContrastReading> readContrast(QWidget& root) {
    constexpr int scale = 2;
    QImage image(root.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(root.palette().color(QPalette::Window));
    root.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);

    QList<ContrastReading> readings;
    const auto add = [&](const QString& what, QWidget* widget, QRect local) {
        // Only the part its scroll areas and other ancestors let through is on screen.
        QRect inRoot(widget->mapTo(&root, local.topLeft()), local.size());
        for (QWidget* ancestor = widget->parentWidget(); ancestor && ancestor != &root;
             ancestor = ancestor->parentWidget()) {
            inRoot &= QRect(ancestor->mapTo(&root, QPoint(0, 0)), ancestor->size());
        }
        // A sliver at a scrolled edge holds no readable text.
        if (inRoot.height() < 8 || inRoot.width() < 4) {
            return;
        }
        const QRect pixels(inRoot.topLeft() * scale, inRoot.size() * scale);
        readings.append({what, inRoot, measuredContrast(image, pixels)});
    };
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&root) || widget->width() <= 0 || widget->height() <= 0) {
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty()) {
            add(QStringLiteral("label \"%1\"").arg(label->text().left(40)), label, label->rect());
        } else if (auto* text = qobject_cast<RichTextView*>(widget);
                   text && !text->plainText().trimmed().isEmpty()) {
            add(QStringLiteral("text \"%1\"").arg(text->plainText().left(40)), text, text->rect());
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget);
                   button && !button->text().isEmpty()) {
            add(QStringLiteral("button \"%1\"").arg(button->text()), button, button->rect());
        } else if (auto* sent = qobject_cast<SentAIAttachmentView*>(widget);
                   sent && !sent->showsPhoto()) {
            // The name above, the kind and size below, right of the badge.
            const QRect texts(56, 6, sent->width() - 62, sent->height() - 12);
            const QString name = sent->attachment().name;
            add(QStringLiteral("attachment name \"%1\"").arg(name), sent,
                texts.adjusted(0, 0, 0, -texts.height() / 2));
            add(QStringLiteral("attachment size \"%1\"").arg(name), sent,
                texts.adjusted(0, texts.height() / 2, 0, 0));
        }
    }
    return readings;
}

// Prints the texts under `minimum` and says whether there were none.
inline bool checkContrast(QWidget& root, const QString& scene, qreal minimum = 4.5) {
    bool ok = true;
    int count = 0;
    for (const ContrastReading& reading : readContrast(root)) {
        ++count;
        if (reading.ratio < minimum) {
            ok = false;
            std::printf("LOW CONTRAST %s: %s %.2f:1 at %d,%d\n", qPrintable(scene),
                        qPrintable(reading.what), reading.ratio, reading.area.x(),
                        reading.area.y());
        }
    }
    std::printf("%s %s: %d texts at %.1f:1 or more\n", ok ? "contrast" : "CONTRAST FAILED",
                qPrintable(scene), count, minimum);
    std::fflush(stdout);
    return ok;
}

} // namespace plimbo::screenshots
