#include "FileShelf.h"

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

QUrl file(const QString& path) {
    return QUrl::fromLocalFile(path);
}

QList<QUrl> files(const QString& stem, int count) {
    QList<QUrl> out;
    for (int i = 0; i < count; ++i) {
        out << file(QStringLiteral("/home/u/%1-%2.txt").arg(stem).arg(i));
    }
    return out;
}

TEST(FileShelf, TheSameFileIsKeptOnceHoweverItsPathIsSpelled) {
    const QList<QUrl> shelf = FileShelf::receive({}, {file("/home/u/report.pdf")});
    const QList<QUrl> again = FileShelf::receive(
        shelf, {file("/home/u/./docs/../report.pdf"), file("/home/u//report.pdf"),
                file("/home/u/photo.png"), file("/home/u/pics/../photo.png")});
    EXPECT_EQ(again, (QList<QUrl>{file("/home/u/report.pdf"), file("/home/u/photo.png")}));

    // New entries are stored in their standard spelling.
    EXPECT_EQ(FileShelf::receive({}, {file("/tmp/a/../b/./c.txt")}),
              QList<QUrl>{file("/tmp/b/c.txt")});
}

TEST(FileShelf, OnlyLocalFilesAreAccepted) {
    const QList<QUrl> shelf = files("kept", 2);
    EXPECT_EQ(FileShelf::receive(shelf, {QUrl("https://example.com/a.pdf"),
                                         QUrl("ftp://host/b.txt"), QUrl(), QUrl("file:")}),
              shelf);
    EXPECT_EQ(FileShelf::receive({}, {QUrl("https://example.com/a.pdf"), file("/tmp/x")}),
              QList<QUrl>{file("/tmp/x")});
}

TEST(FileShelf, FilesAlreadyOnTheShelfWinOverNewOnesAtTheLimit) {
    const QList<QUrl> twenty = files("old", 20);
    const QList<QUrl> ten = files("new", 10);
    const QList<QUrl> shelf = FileShelf::receive(twenty, ten);
    EXPECT_EQ(shelf, twenty + ten.mid(0, 4));

    // Repeats of shelf files do not use up room.
    EXPECT_EQ(FileShelf::receive(files("old", 23), files("old", 5) + files("late", 3)),
              files("old", 23) + files("late", 1));
    EXPECT_EQ(FileShelf::receive({}, files("big", 40)), files("big", 24));
    EXPECT_EQ(FileShelf::receive(files("full", 24), files("more", 1)), files("full", 24));
}

TEST(FileShelf, RemovingMatchesTheStandardSpellingAndKeepsTheOrder) {
    const QList<QUrl> shelf{file("/a/one"), file("/a/two"), file("/a/three")};
    EXPECT_EQ(FileShelf::remove(shelf, file("/a/b/../two")),
              (QList<QUrl>{file("/a/one"), file("/a/three")}));
    EXPECT_EQ(FileShelf::remove(shelf, file("/a/four")), shelf);
    EXPECT_EQ(FileShelf::remove(shelf, QUrl("https://x/a/one")), shelf);
}

} // namespace
