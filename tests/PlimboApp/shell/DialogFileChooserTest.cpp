#include "DialogFileChooser.h"

#include "AppModelHarness.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>

using namespace plimbo;
using namespace plimbo::test;

namespace {

QFileDialog* openDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

} // namespace

TEST(DialogFileChooserTest, AnswersOnceWithTheChosenFilesOrNothing) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("notes.md"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    DialogFileChooser chooser;
    QList<QList<QUrl>> answers;
    const auto record = [&](const QList<QUrl>& urls) {
        answers.append(urls);
    };

    chooser.chooseFiles(
        {QStringLiteral("Attach to Plimbo AI"), QStringLiteral("Attach"), false, true}, record);
    QFileDialog* dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Attach to Plimbo AI"));
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
    EXPECT_EQ(dialog->labelText(QFileDialog::Accept), QStringLiteral("Attach"));
    // The caller goes on while the dialog is open.
    EXPECT_TRUE(answers.isEmpty());
    dialog->setDirectory(folder.path());
    dialog->selectFile(path);
    static_cast<QDialog*>(dialog)->accept();
    ASSERT_EQ(answers.size(), 1);
    EXPECT_EQ(answers.first(), QList<QUrl>{QUrl::fromLocalFile(path)});

    chooser.chooseFiles({QStringLiteral("Share"), QString(), false, false}, record);
    dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    dialog->reject();
    ASSERT_EQ(answers.size(), 2);
    EXPECT_TRUE(answers.last().isEmpty());
    // Each dialog goes away once answered.
    EXPECT_TRUE(settle([] { return openDialog() == nullptr; }));
}
