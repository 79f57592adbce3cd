#pragma once

#include "AIChatAttachment.h"
#include "AIChatHistoryStore.h"
#include "PreparedAIAttachment.h"
#include "TaskExecutor.h"

#include <QFuture>
#include <QList>
#include <QString>
#include <QUrl>

namespace plimbo {

// Everything about attaching one file that does not touch model state: classifying it as an
// image, a PDF or a text/code file, the size limits, reading it, re-encoding images of other
// formats to JPEG, and storing the result in the chat history store. Stateless; every function
// is static and safe on any thread.
//
// How the application model drives one ingestion. Everything below runs on the main thread
// except the three *InBackground jobs; the model owns the operation token and, on the main
// thread, checks that it is still current before each file and after each background step
// (a stale or cancelled ingestion stops silently and shows nothing). Completions come back
// with whenFinished(future, model, ...) and are unpacked with resultOf(), which rethrows the
// job's failure as it was thrown (MainThreadContinuation.h).
//   For each file, in the given order:
//     1. isPendingListFull(pending): failures.addFileLimitReached() and end the loop; later
//        files are not looked at.
//     2. prepareInBackground(executor, url). A failure (AIAttachmentError, or FileSystemError
//        for a file that is missing or cannot be read) goes into the failure list with
//        failures.add(url, std::current_exception()) or add(url, error); go on with the next.
//        A job the executor dropped (resultOf() gives none) ends the ingestion like a stale token.
//     3. Token check. fitsMessageTotal(pending, prepared.data.size()) false:
//        failures.add(url, AIAttachmentError(AIAttachmentError::Kind::totalTooLarge)); next.
//     4. saveInBackground(executor, store, prepared); a FileSystemError is recorded the same
//        way; next.
//     5. Token stale: discardInBackground(executor, store, {attachment}) without waiting, and
//        stop. Otherwise append the attachment to the pending list and cache prepared.image
//        (when present) under the attachment's id.
//   After the last file or the limit line: a non-empty failure list becomes the one error
//   message, failures.message(); files added before or after a failing one stay pending.
// One file is prepared and saved at a time. A background step, once started, runs to its end;
// the token checks make its result harmless.
class AIAttachmentPreparer {
public:
    static constexpr qsizetype maximumPendingAttachments = 4;
    // Images and PDFs, on disk and as stored.
    static constexpr qint64 maximumFileBytes = 10'485'760;
    // Text and code files.
    static constexpr qint64 maximumTextFileBytes = 131'072;
    // The pending attachments of one message together.
    static constexpr qint64 maximumMessageBytes = 15'728'640;
    static constexpr int jpegQuality = 88;

    // Checks and reads one local file. Throws AIAttachmentError for a file that is refused,
    // FileSystemError when it is missing or cannot be read. Blocking: not for the main thread.
    static PreparedAIAttachment prepare(const QUrl& fileURL);
    // prepare() as a user-initiated job; the future fails with the same errors.
    static QFuture<PreparedAIAttachment> prepareInBackground(TaskExecutor& executor,
                                                             const QUrl& fileURL);

    // Stores the prepared bytes as a new attachment, as a user-initiated job; the future fails
    // with the store's FileSystemError. The store is copied (it holds no state).
    static QFuture<AIChatAttachment> saveInBackground(TaskExecutor& executor,
                                                      AIChatHistoryStore store,
                                                      PreparedAIAttachment prepared);
    // Deletes the attachments' files as a utility job, ignoring every error. Nobody needs to
    // wait for it.
    static QFuture<void> discardInBackground(TaskExecutor& executor, AIChatHistoryStore store,
                                             QList<AIChatAttachment> attachments);

    // True when no further file may be added to the pending list.
    static bool isPendingListFull(const QList<AIChatAttachment>& pending);
    // True when `newByteCount` more bytes keep the message within its total.
    static bool fitsMessageTotal(const QList<AIChatAttachment>& pending, qint64 newByteCount);

    // The file's last path component, as failure lines name it.
    static QString displayName(const QUrl& fileURL);
    // Lower-cased extensions taken as text or code whatever the file's type says.
    static const QList<QString>& textFileExtensions();
};

} // namespace plimbo
