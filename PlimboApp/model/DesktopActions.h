#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

namespace plimbo {

class FileChooser;
class MiniCamera;
class SystemActions;

// What the notch and the palette hand to the desktop: the notch's file shelf (its files and
// their copy, open and reveal), sharing files with AirDrop, a screenshot and the camera preview.
// Main thread only. A failure the user must see is reported through failed(); without a file
// chooser or a camera the matching actions do nothing.
class DesktopActions : public QObject {
    Q_OBJECT

public:
    DesktopActions(SystemActions& actions, FileChooser* chooser, MiniCamera* camera,
                   QObject* parent = nullptr);

    QList<QUrl> shelfURLs() const { return m_shelfURLs; }
    // The notch empties the shelf with an empty list.
    void setShelfURLs(const QList<QUrl>& urls);
    void receiveDroppedFiles(const QList<QUrl>& urls);
    // Notifies even when nothing matched.
    void removeDroppedFile(const QUrl& url);
    void copyShelfFiles();
    void openShelfFiles();
    void revealShelfFiles();

    // Asks for files to share (nothing when sharing is unavailable: that is reported at once).
    void startAirDrop();
    void performAirDrop(const QList<QUrl>& fileURLs);
    void startScreenshot();
    void toggleMiniCamera();

signals:
    void shelfURLsChanged();
    void failed(const QString& message);

private:
    SystemActions& m_actions;
    FileChooser* m_chooser;
    MiniCamera* m_camera;
    QList<QUrl> m_shelfURLs;
};

} // namespace plimbo
