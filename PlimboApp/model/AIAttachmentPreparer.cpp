#include "AIAttachmentPreparer.h"

#include "AIAttachmentError.h"
#include "FailureText.h"
#include "FileSystemError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QMimeDatabase>
#include <QPainter>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <sys/stat.h>

namespace plimbo {

namespace {

using Kind = AIAttachmentError::Kind;

const QString octetStream = QStringLiteral("application/octet-stream");
const QString pdfMimeType = QStringLiteral("application/pdf");
const QString plainText = QStringLiteral("text/plain");
const QString jpegMimeType = QStringLiteral("image/jpeg");

bool isStoredAsIs(const QString& mimeType) {
    static const QList<QString> types{QStringLiteral("image/png"), jpegMimeType,
                                      QStringLiteral("image/webp"), QStringLiteral("image/gif")};
    return types.contains(mimeType);
}

// A trailing ".ext" counts as an extension; a leading dot (".profile") or a trailing one does not.
qsizetype extensionDot(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 && dot < name.size() - 1 ? dot : -1;
}

QString pathExtension(const QString& name) {
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? QString() : name.sliced(dot + 1);
}

QString deletingPathExtension(const QString& name) {
    const qsizetype dot = extensionDot(name);
    return dot < 0 ? name : name.left(dot);
}

bool conformsToImage(const QMimeType& type) {
    if (type.name().startsWith(QLatin1String("image/"))) {
        return true;
    }
    const QStringList ancestors = type.allAncestors();
    return std::any_of(ancestors.cbegin(), ancestors.cend(), [](const QString& name) {
        return name.startsWith(QLatin1String("image/"));
    });
}

bool conformsToText(const QMimeType& type) {
    return type.name().startsWith(QLatin1String("text/")) || type.inherits(plainText);
}

[[noreturn]] void throwMissing(const QString& path, const QString& name) {
    throw FileSystemError(
        path, QStringLiteral("The file “%1” couldn’t be opened because there is no such file.")
                  .arg(name));
}

[[noreturn]] void throwUnreadable(const QString& path, const QString& name, const QString& why) {
    throw FileSystemError(path,
                          QStringLiteral("The file “%1” couldn’t be opened (%2).").arg(name, why));
}

// Reads at most limit + 1 bytes: enough to tell that a file which grew after it was measured
// is over its limit, without loading all of it.
QByteArray readAtMost(const QString& path, const QString& name, qint64 limit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.error() == QFileDevice::OpenError && !QFile::exists(path)) {
            throwMissing(path, name);
        }
        throwUnreadable(path, name, file.errorString());
    }
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) {
        throwUnreadable(path, name, file.errorString());
    }
    return bytes;
}

// The file's bytes, refused before reading when its recorded size is over `limit` and after
// reading when it grew past it; an empty file is unreadable.
QByteArray readWithin(const QString& path, const QString& name, qint64 fileSize, qint64 limit,
                      Kind tooLarge) {
    if (fileSize > limit) {
        throw AIAttachmentError(tooLarge);
    }
    const QByteArray bytes = readAtMost(path, name, limit);
    if (bytes.isEmpty()) {
        throw AIAttachmentError(Kind::unreadable);
    }
    if (bytes.size() > limit) {
        throw AIAttachmentError(tooLarge);
    }
    return bytes;
}

bool isValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// JPEG has no transparency: transparent areas become white rather than the black that
// dropping the alpha channel would leave.
QImage opaque(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return image;
    }
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.setDevicePixelRatio(image.devicePixelRatio());
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    return flat;
}

PreparedAIAttachment prepareImage(const QString& path, const QString& name, qint64 fileSize,
                                  const QMimeType& type) {
    const QByteArray bytes =
        readWithin(path, name, fileSize, AIAttachmentPreparer::maximumFileBytes, Kind::tooLarge);
    const QString mimeType = type.isValid() && !type.isDefault() ? type.name() : octetStream;
    QImage decoded;
    if (!decoded.loadFromData(bytes) || decoded.isNull()) {
        throw AIAttachmentError(Kind::unreadable);
    }
    if (isStoredAsIs(mimeType)) {
        return PreparedAIAttachment{bytes, name, mimeType, AIChatAttachmentKind::image, decoded};
    }

    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(AIAttachmentPreparer::jpegQuality);
    if (!writer.write(opaque(decoded)) || jpeg.isEmpty()) {
        throw AIAttachmentError(Kind::unreadable);
    }
    buffer.close();
    if (jpeg.size() > AIAttachmentPreparer::maximumFileBytes) {
        throw AIAttachmentError(Kind::tooLarge);
    }
    std::optional<QImage> thumbnail;
    if (QImage reread = QImage::fromData(jpeg, "JPEG"); !reread.isNull()) {
        thumbnail = std::move(reread);
    }
    return PreparedAIAttachment{jpeg, deletingPathExtension(name) + QStringLiteral(".jpg"),
                                jpegMimeType, AIChatAttachmentKind::image, std::move(thumbnail)};
}

PreparedAIAttachment preparePDF(const QString& path, const QString& name, qint64 fileSize) {
    const QByteArray bytes =
        readWithin(path, name, fileSize, AIAttachmentPreparer::maximumFileBytes, Kind::tooLarge);
    return PreparedAIAttachment{bytes, name, pdfMimeType, AIChatAttachmentKind::pdf, std::nullopt};
}

PreparedAIAttachment prepareText(const QString& path, const QString& name, qint64 fileSize,
                                 const QMimeType& type) {
    const QByteArray bytes = readWithin(
        path, name, fileSize, AIAttachmentPreparer::maximumTextFileBytes, Kind::textTooLarge);
    if (!isValidUtf8(bytes)) {
        throw AIAttachmentError(Kind::unreadable);
    }
    const QString mimeType = type.isValid() && !type.isDefault() ? type.name() : plainText;
    return PreparedAIAttachment{bytes, name, mimeType, AIChatAttachmentKind::text, std::nullopt};
}

} // namespace

const QList<QString>& AIAttachmentPreparer::textFileExtensions() {
    static const QList<QString> extensions{
        QStringLiteral("txt"),   QStringLiteral("md"),   QStringLiteral("markdown"),
        QStringLiteral("json"),  QStringLiteral("csv"),  QStringLiteral("tsv"),
        QStringLiteral("xml"),   QStringLiteral("yaml"), QStringLiteral("yml"),
        QStringLiteral("swift"), QStringLiteral("py"),   QStringLiteral("js"),
        QStringLiteral("ts"),    QStringLiteral("tsx"),  QStringLiteral("jsx"),
        QStringLiteral("html"),  QStringLiteral("css"),  QStringLiteral("sql"),
        QStringLiteral("sh"),    QStringLiteral("zsh"),  QStringLiteral("log"),
    };
    return extensions;
}

QString AIAttachmentPreparer::displayName(const QUrl& fileURL) {
    const QString path =
        QDir::cleanPath(fileURL.isLocalFile() ? fileURL.toLocalFile() : fileURL.path());
    const QString name = path.section(u'/', -1);
    return name.isEmpty() ? path : name;
}

PreparedAIAttachment AIAttachmentPreparer::prepare(const QUrl& fileURL) {
    if (!fileURL.isLocalFile()) {
        throw AIAttachmentError(Kind::unsupportedType);
    }
    const QString path = fileURL.toLocalFile();
    const QString name = displayName(fileURL);

    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) {
            throwMissing(path, name);
        }
        throwUnreadable(path, name, qt_error_string(error));
    }
    // Folders, devices and pipes are refused before anything tries to read them.
    if (!S_ISREG(info.st_mode)) {
        throw AIAttachmentError(Kind::unsupportedType);
    }
    const qint64 fileSize = info.st_size;
    const QString extension = pathExtension(name).toLower();

    // The name decides first and the contents only when the name says nothing, so an empty
    // "notes.md" is a text file that cannot be read, not a file of unknown type.
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchDefault);

    if (type.isValid() && conformsToImage(type)) {
        return prepareImage(path, name, fileSize, type);
    }
    if ((type.isValid() && type.inherits(pdfMimeType)) || extension == QLatin1String("pdf")) {
        return preparePDF(path, name, fileSize);
    }
    if ((type.isValid() && conformsToText(type)) || textFileExtensions().contains(extension)) {
        return prepareText(path, name, fileSize, type);
    }
    throw AIAttachmentError(Kind::unsupportedType);
}

QFuture<PreparedAIAttachment> AIAttachmentPreparer::prepareInBackground(TaskExecutor& executor,
                                                                        const QUrl& fileURL) {
    return runInBackground(executor, TaskExecutor::Priority::userInitiated,
                           [fileURL] { return prepare(fileURL); });
}

QFuture<AIChatAttachment> AIAttachmentPreparer::saveInBackground(TaskExecutor& executor,
                                                                 AIChatHistoryStore store,
                                                                 PreparedAIAttachment prepared) {
    return runInBackground(executor, TaskExecutor::Priority::userInitiated,
                           [store = std::move(store), prepared = std::move(prepared)] {
                               return store.saveAttachment(prepared.data, prepared.fileName,
                                                           prepared.mimeType, prepared.kind);
                           });
}

QFuture<void> AIAttachmentPreparer::discardInBackground(TaskExecutor& executor,
                                                        AIChatHistoryStore store,
                                                        QList<AIChatAttachment> attachments) {
    return runInBackground(executor, TaskExecutor::Priority::utility,
                           [store = std::move(store), attachments = std::move(attachments)] {
                               for (const AIChatAttachment& attachment : attachments) {
                                   try {
                                       store.removeAttachment(attachment);
                                   } catch (...) {
                                       // A file that cannot be deleted stays; nothing refers to it.
                                       logSwallowedFailure("Deleting a discarded attachment");
                                   }
                               }
                           });
}

bool AIAttachmentPreparer::isPendingListFull(const QList<AIChatAttachment>& pending) {
    return pending.size() >= maximumPendingAttachments;
}

bool AIAttachmentPreparer::fitsMessageTotal(const QList<AIChatAttachment>& pending,
                                            qint64 newByteCount) {
    qint64 total = newByteCount;
    for (const AIChatAttachment& attachment : pending) {
        total += attachment.byteCount;
    }
    return total <= maximumMessageBytes;
}

} // namespace plimbo
