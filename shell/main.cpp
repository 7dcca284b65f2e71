#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "shell/CopperTheme.h"
#include "shell/TmainForm.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelkora"));
    // The interface is Russian whatever the system's language, the file dialogs included.
    QTranslator qtRussian;
    if (qtRussian.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtRussian);
    }
    CopperTheme::apply(app);
    TmainForm form;
    form.show();
    // Closing the window ends the program without a question.
    return QApplication::exec();
}
