#pragma once

#include <QFuture>
#include <QList>
#include <QUrl>

namespace plimbo {

// How a request to show files ended.
enum class RevealOutcome {
    // The file manager opened with the files selected.
    shownInFileManager,
    // No file manager answered; the folders holding the files were opened instead.
    openedFolders,
    // Nothing could be shown.
    failed,
};

// Shows files in the desktop's file manager.
class FileRevealer {
public:
    virtual ~FileRevealer() = default;

    // Never blocks the caller; the future ends on the calling thread's event loop.
    virtual QFuture<RevealOutcome> reveal(const QList<QUrl>& files) = 0;
};

} // namespace plimbo
