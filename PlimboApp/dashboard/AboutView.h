#pragma once

#include <QImage>
#include <QString>
#include <QVariant>
#include <QWidget>

class QLabel;

namespace plimbo {

// The about window's content, always 820 x 630 and always dark: the application icon, name
// and tag line on a dark band above the version, requirement, distribution flavour and a note
// on the local-first design.
class AboutView : public QWidget {
    Q_OBJECT

public:
    // What the installation says about itself.
    struct BundleInfo {
        // "PlimboIcon.png" in the installation's resources, when there is one.
        QString iconFile;
        // Counted only when they hold text.
        QVariant shortVersion;
        QVariant buildVersion;

        // The running installation: its icon (in a build tree or installed), the application's
        // version; no build number.
        static BundleInfo installed();
        // The same for a program in programDirectory.
        static BundleInfo installed(const QString& programDirectory);
    };

    explicit AboutView(QWidget* parent = nullptr);
    explicit AboutView(const BundleInfo& bundle, QWidget* parent = nullptr);

    QLabel* iconLabel() const { return m_icon; }
    QLabel* versionValue() const { return m_version; }

    // The icon file's image; else the application's own icon; else an empty image.
    static QImage icon(const BundleInfo& bundle);
    // "0.1.0" when the value is missing or not text.
    static QString version(const BundleInfo& bundle);
    // "1" when the value is missing or not text.
    static QString build(const BundleInfo& bundle);

    static constexpr QSize viewSize{820, 630};
    static constexpr int iconSide = 210;

private:
    QWidget* hero(const BundleInfo& bundle);
    QWidget* facts(const BundleInfo& bundle);

    QLabel* m_icon = nullptr;
    QLabel* m_version = nullptr;
};

} // namespace plimbo
