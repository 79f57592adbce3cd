#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Plimbo"));
    QApplication::setApplicationName(QStringLiteral("Plimbo"));
    QApplication::setQuitOnLastWindowClosed(false);
    return app.exec();
}
