#include "AIAttachmentPreparer.h"
#include "AIAttachmentError.h"
#include "FakeFileLocations.h"
#include "FileSystemError.h"
#include "TestSupport.h"
#include "ThreadPoolTaskExecutor.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

using namespace plimbo;
using plimbo::test::readFile;
using plimbo::test::writeFile;
using Kind = AIAttachmentError::Kind;

namespace {

QByteArray encoded(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    EXPECT_TRUE(writer.write(image)) << format;
    return bytes;
}

QImage sampleImage() {
    QImage image(37, 21, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 90));
    QPainter painter(&image);
    painter.fillRect(5, 5, 10, 8, QColor(20, 180, 60));
    return image;
}

class AIAttachmentPreparerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root.isValid()); }

    QUrl file(const QString& name, const QByteArray& bytes) const {
        const QString path = root.filePath("in/" + name);
        EXPECT_TRUE(writeFile(path, bytes));
        return QUrl::fromLocalFile(path);
    }

    // The error prepare() throws for the file, or none when it is accepted.
    static std::optional<Kind> refusal(const QUrl& url) {
        try {
            AIAttachmentPreparer::prepare(url);
        } catch (const AIAttachmentError& error) {
            return error.kind();
        }
        return std::nullopt;
    }

    QTemporaryDir root;
    FakeFileLocations locations{root.filePath("data"), root.filePath("tmp")};
    AIChatHistoryStore store{root.filePath("AIChats.json"), root.filePath("AIChatAttachments"),
                             locations};
    ThreadPoolTaskExecutor executor;
};

} // namespace

TEST_F(AIAttachmentPreparerTest, ErrorTextsAreTheOnesUsersSee) {
    EXPECT_EQ(AIAttachmentError(Kind::unsupportedType).description(),
              "Use an image, PDF, or text/code file.");
    EXPECT_EQ(AIAttachmentError(Kind::unreadable).description(),
              "Plimbo could not read this file.");
    EXPECT_EQ(AIAttachmentError(Kind::tooLarge).description(),
              "Each attachment must be 10 MB or smaller.");
    EXPECT_EQ(AIAttachmentError(Kind::textTooLarge).description(),
              "Text and code files must be 128 KB or smaller.");
    EXPECT_EQ(AIAttachmentError(Kind::totalTooLarge).description(),
              "Attachments in one message must total 15 MB or less.");
}

TEST_F(AIAttachmentPreparerTest, SizeLimitsAcceptTheLimitAndRefuseOneByteMore) {
    const PreparedAIAttachment pdf =
        AIAttachmentPreparer::prepare(file("exact.pdf", QByteArray(10'485'760, 'p')));
    EXPECT_EQ(pdf.kind, AIChatAttachmentKind::pdf);
    EXPECT_EQ(pdf.mimeType, "application/pdf");
    EXPECT_EQ(pdf.fileName, "exact.pdf");
    EXPECT_EQ(pdf.data.size(), 10'485'760);
    EXPECT_FALSE(pdf.image);
    EXPECT_EQ(refusal(file("over.pdf", QByteArray(10'485'761, 'p'))), Kind::tooLarge);

    const PreparedAIAttachment markdown =
        AIAttachmentPreparer::prepare(file("exact.md", QByteArray(131'072, 'm')));
    EXPECT_EQ(markdown.kind, AIChatAttachmentKind::text);
    EXPECT_EQ(markdown.data.size(), 131'072);
    EXPECT_EQ(refusal(file("over.md", QByteArray(131'073, 'm'))), Kind::textTooLarge);

    EXPECT_EQ(refusal(file("huge.png", QByteArray(10'485'761, 'i'))), Kind::tooLarge);
}

TEST_F(AIAttachmentPreparerTest, EmptyUndecodableOrCorruptFilesAreUnreadable) {
    // The name decides the type first, so an empty file of a known kind is unreadable.
    for (const char* name : {"empty.md", "empty.txt", "empty.pdf", "empty.png", "empty.swift"}) {
        EXPECT_EQ(refusal(file(name, {})), Kind::unreadable) << name;
    }
    EXPECT_EQ(refusal(file("latin1.txt", QByteArray("caf\xe9 cr\xe8me"))), Kind::unreadable);
    EXPECT_EQ(refusal(file("broken.png", QByteArray::fromHex("89504e470d0a1a0a") + "garbage")),
              Kind::unreadable);
    EXPECT_EQ(refusal(file("broken.bmp", QByteArray("BMnot really a bitmap"))), Kind::unreadable);
}

TEST_F(AIAttachmentPreparerTest, OtherKindsOfFileAreUnsupported) {
    EXPECT_EQ(refusal(QUrl::fromLocalFile(root.path())), Kind::unsupportedType);
    EXPECT_EQ(refusal(file("setup.exe",
                           QByteArray("MZ\x90\x00\x03\x00\x00\x00", 8) + QByteArray(200, '\0'))),
              Kind::unsupportedType);
    EXPECT_EQ(refusal(file("archive.zip", QByteArray("PK\x03\x04", 4) + QByteArray(100, '\0'))),
              Kind::unsupportedType);
    EXPECT_EQ(refusal(QUrl("https://example.com/a.png")), Kind::unsupportedType);
}

TEST_F(AIAttachmentPreparerTest, MissingFileFailsWithAFileSystemError) {
    try {
        AIAttachmentPreparer::prepare(QUrl::fromLocalFile(root.filePath("nothing.txt")));
        FAIL() << "a missing file was prepared";
    } catch (const FileSystemError& error) {
        EXPECT_EQ(error.description(),
                  "The file “nothing.txt” couldn’t be opened because there is no such file.");
    }
}

// A path that cannot be reached, or a file whose reading fails, is a FileSystemError that names
// the file and, unless it is simply not there, the system's reason.
TEST_F(AIAttachmentPreparerTest, FilesThatCannotBeReachedOrReadNameTheFileAndTheReason) {
    const auto failure = [](const QUrl& url) -> QString {
        try {
            AIAttachmentPreparer::prepare(url);
        } catch (const FileSystemError& error) {
            return error.description();
        }
        return QStringLiteral("prepared");
    };
    // A file where a folder should be.
    const QUrl notes = file("notes.txt", "notes");
    EXPECT_EQ(failure(QUrl::fromLocalFile(notes.toLocalFile() + "/inner.txt")),
              "The file “inner.txt” couldn’t be opened because there is no such file.");

    const QString loop = root.filePath("in/loop.txt");
    ASSERT_TRUE(QFile::link(loop, loop));
    // The system's own words for the loop, in whatever language it speaks.
    EXPECT_EQ(failure(QUrl::fromLocalFile(loop)),
              QStringLiteral("The file “loop.txt” couldn’t be opened (%1).")
                  .arg(QString::fromLocal8Bit(std::strerror(ELOOP))));

    // A regular file whose first byte cannot be read (page zero of this process's memory).
    const QString memory = root.filePath("in/memory.txt");
    ASSERT_TRUE(QFile::link("/proc/self/mem", memory));
    const QString unreadable = failure(QUrl::fromLocalFile(memory));
    EXPECT_TRUE(unreadable.startsWith("The file “memory.txt” couldn’t be opened (") &&
                unreadable.endsWith(").") && !unreadable.contains("no such file"))
        << unreadable.toStdString();
}

// A leading dot (".scan") or a trailing one ("scan.") is part of the name, not an extension.
TEST_F(AIAttachmentPreparerTest, ReencodedImagesKeepDotsThatAreNoExtension) {
    const QByteArray bmp = encoded(sampleImage(), "bmp");
    EXPECT_EQ(AIAttachmentPreparer::prepare(file("scan.", bmp)).fileName, "scan..jpg");
    EXPECT_EQ(AIAttachmentPreparer::prepare(file(".scan", bmp)).fileName, ".scan.jpg");
}

TEST_F(AIAttachmentPreparerTest, TextFilesAreKeptWithTheirType) {
    const QByteArray yaml = "key: value\nlist:\n  - één\n";
    const PreparedAIAttachment config = AIAttachmentPreparer::prepare(file("config.YML", yaml));
    EXPECT_EQ(config.kind, AIChatAttachmentKind::text);
    EXPECT_EQ(config.data, yaml);
    EXPECT_EQ(config.fileName, "config.YML");
    EXPECT_TRUE(config.mimeType == "application/x-yaml" || config.mimeType == "application/yaml")
        << config.mimeType.toStdString();

    // No type known for the name: the listed extension makes it text, recorded as plain text.
    const PreparedAIAttachment swift =
        AIAttachmentPreparer::prepare(file("main.swift", "print(\"hi\")\n"));
    EXPECT_EQ(swift.kind, AIChatAttachmentKind::text);
    EXPECT_EQ(swift.mimeType, "text/plain");

    const PreparedAIAttachment upper = AIAttachmentPreparer::prepare(file("SCAN.PDF", "%PDF-1.4"));
    EXPECT_EQ(upper.kind, AIChatAttachmentKind::pdf);
    EXPECT_EQ(upper.mimeType, "application/pdf");
}

TEST_F(AIAttachmentPreparerTest, CommonImageFormatsAreStoredByteForByte) {
    const QByteArray png = encoded(sampleImage(), "png");
    const PreparedAIAttachment prepared = AIAttachmentPreparer::prepare(file("shot.png", png));
    EXPECT_EQ(prepared.kind, AIChatAttachmentKind::image);
    EXPECT_EQ(prepared.data, png);
    EXPECT_EQ(prepared.fileName, "shot.png");
    EXPECT_EQ(prepared.mimeType, "image/png");
    ASSERT_TRUE(prepared.image);
    EXPECT_EQ(prepared.image->size(), QSize(37, 21));
}

TEST_F(AIAttachmentPreparerTest, WebPIsStoredAsItIs) {
    if (!QImageWriter::supportedImageFormats().contains("webp")) {
        GTEST_SKIP() << "no WebP image plug-in (qt6-image-formats-plugins)";
    }
    const QByteArray webp = encoded(sampleImage(), "webp");
    const PreparedAIAttachment prepared = AIAttachmentPreparer::prepare(file("pic.webp", webp));
    EXPECT_EQ(prepared.data, webp);
    EXPECT_EQ(prepared.mimeType, "image/webp");
    ASSERT_TRUE(prepared.image);
    EXPECT_EQ(prepared.image->size(), QSize(37, 21));
}

TEST_F(AIAttachmentPreparerTest, OtherImageFormatsBecomeJPEGAtQuality88) {
    const QImage source = sampleImage();
    const PreparedAIAttachment prepared =
        AIAttachmentPreparer::prepare(file("scan.final.bmp", encoded(source, "bmp")));
    EXPECT_EQ(prepared.kind, AIChatAttachmentKind::image);
    EXPECT_EQ(prepared.fileName, "scan.final.jpg");
    EXPECT_EQ(prepared.mimeType, "image/jpeg");
    EXPECT_EQ(prepared.data, encoded(source, "jpeg", 88));
    ASSERT_TRUE(prepared.image);
    EXPECT_EQ(prepared.image->size(), source.size());

    // A name without an extension gets one.
    const PreparedAIAttachment bare =
        AIAttachmentPreparer::prepare(file("scan", encoded(source, "bmp")));
    EXPECT_EQ(bare.fileName, "scan.jpg");
}

TEST_F(AIAttachmentPreparerTest, TransparentAreasOfAReencodedImageTurnWhite) {
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='30'>"
                           "<rect x='10' y='10' width='10' height='10' fill='black'/></svg>";
    const PreparedAIAttachment prepared = AIAttachmentPreparer::prepare(file("icon.svg", svg));
    EXPECT_EQ(prepared.mimeType, "image/jpeg");
    ASSERT_TRUE(prepared.image);
    EXPECT_EQ(prepared.image->size(), QSize(40, 30));
    EXPECT_GT(qGray(prepared.image->pixel(2, 2)), 240);
    EXPECT_LT(qGray(prepared.image->pixel(15, 15)), 20);
}

TEST_F(AIAttachmentPreparerTest, LimitsOfThePendingList) {
    const auto pending = [](QList<qint64> sizes) {
        QList<AIChatAttachment> list;
        for (qint64 size : sizes) {
            list.append(AIChatAttachment{QUuid::createUuid(), "f", "text/plain",
                                         AIChatAttachmentKind::text, size, "x.txt"});
        }
        return list;
    };
    EXPECT_FALSE(AIAttachmentPreparer::isPendingListFull(pending({1, 1, 1})));
    EXPECT_TRUE(AIAttachmentPreparer::isPendingListFull(pending({1, 1, 1, 1})));

    const QList<AIChatAttachment> two = pending({7'000'000, 7'000'000});
    EXPECT_TRUE(AIAttachmentPreparer::fitsMessageTotal(two, 1'728'640));
    EXPECT_FALSE(AIAttachmentPreparer::fitsMessageTotal(two, 1'728'641));
    EXPECT_TRUE(AIAttachmentPreparer::fitsMessageTotal({}, 15'728'640));
}

TEST_F(AIAttachmentPreparerTest, BackgroundStepsDeliverResultsAndUnwrappedErrors) {
    const QByteArray png = encoded(sampleImage(), "png");
    QFuture<PreparedAIAttachment> prepared =
        AIAttachmentPreparer::prepareInBackground(executor, file("shot.png", png));
    ASSERT_TRUE(test::waitFor(prepared));
    QFuture<AIChatAttachment> saved =
        AIAttachmentPreparer::saveInBackground(executor, store, prepared.result());
    ASSERT_TRUE(test::waitFor(saved));
    const AIChatAttachment attachment = saved.result();
    EXPECT_EQ(attachment.name, "shot.png");
    EXPECT_EQ(attachment.mimeType, "image/png");
    EXPECT_EQ(attachment.kind, AIChatAttachmentKind::image);
    EXPECT_EQ(attachment.byteCount, png.size());
    EXPECT_EQ(store.data(attachment), png);

    QFuture<void> discarded = AIAttachmentPreparer::discardInBackground(
        executor, store, {attachment, attachment /* already gone: ignored */});
    ASSERT_TRUE(test::waitFor(discarded));
    EXPECT_FALSE(QFile::exists(store.attachmentsDirectoryURL() + "/" + attachment.storageFileName));

    QFuture<PreparedAIAttachment> refused =
        AIAttachmentPreparer::prepareInBackground(executor, file("empty.pdf", {}));
    ASSERT_TRUE(test::waitFor(refused));
    try {
        refused.result();
        FAIL() << "an empty file was prepared";
    } catch (const AIAttachmentError& error) {
        EXPECT_EQ(error.kind(), Kind::unreadable);
    }
}

TEST_F(AIAttachmentPreparerTest, SaveFailureReachesTheCaller) {
    // A file where the attachment folder should be makes every save fail.
    ASSERT_TRUE(writeFile(store.attachmentsDirectoryURL(), "in the way"));
    QFuture<AIChatAttachment> saved = AIAttachmentPreparer::saveInBackground(
        executor, store,
        PreparedAIAttachment{"x", "a.txt", "text/plain", AIChatAttachmentKind::text, {}});
    ASSERT_TRUE(test::waitFor(saved));
    EXPECT_THROW(saved.result(), FileSystemError);
}
