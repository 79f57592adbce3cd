#include "DialogFileChooser.h"

#include <QFileDialog>

namespace plimbo {

void DialogFileChooser::chooseFiles(const Options& options,
                                    std::function<void(const QList<QUrl>& urls)> done) {
    auto* dialog = new QFileDialog(nullptr, options.title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    if (options.allowsDirectories && !options.allowsMultipleSelection) {
        dialog->setFileMode(QFileDialog::Directory);
    } else {
        dialog->setFileMode(options.allowsMultipleSelection ? QFileDialog::ExistingFiles
                                                            : QFileDialog::ExistingFile);
    }
    if (!options.prompt.isEmpty()) {
        dialog->setLabelText(QFileDialog::Accept, options.prompt);
    }
    // finished() comes exactly once, whether the user accepts, cancels or closes the dialog.
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, done](int result) {
        done(result == QDialog::Accepted ? dialog->selectedUrls() : QList<QUrl>());
    });
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace plimbo
