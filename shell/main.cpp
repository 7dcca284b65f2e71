#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "shell/CopperTheme.h"
#include "shell/TmainForm.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelkora"));
    // The installed desktop entry and icon, so that the desktop shows the window as Zelkora's.
    QGuiApplication::setDesktopFileName(QStringLiteral("zelkora"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("zelkora")));
    // The interface is Russian whatever the system's language, the file dialogs included.
    QTranslator qtRussian;
    if (qtRussian.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtRussian);
    }
    CopperTheme::apply(app);
    TmainForm form;
    form.show();
    // "zelkora FILE.points", as a double-click in the file manager starts it. The table opens
    // once the window is up, so that an error box stands over it.
    const QStringList fileNames = QApplication::arguments().mid(1);
    if (!fileNames.isEmpty()) {
        QTimer::singleShot(0, &form, [&form, fileNames] { form.openStartupTables(fileNames); });
    }
    // Closing the window ends the program without a question.
    return QApplication::exec();
}
