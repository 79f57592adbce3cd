#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>

namespace plimbo {

// A non-modal open dialog. The model asks for files; the shell shows the dialog.
class FileChooser {
public:
    struct Options {
        QString title;
        QString prompt; // the accept button's text
        bool allowsDirectories = false;
        bool allowsMultipleSelection = true;
    };

    virtual ~FileChooser() = default;

    // Activates the application and shows the dialog without blocking; `done` runs on the main
    // thread with the chosen files, or with an empty list when the user cancelled.
    virtual void chooseFiles(const Options& options,
                             std::function<void(const QList<QUrl>& urls)> done) = 0;
};

} // namespace plimbo
