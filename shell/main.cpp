#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "shell/CopperTheme.h"
#include "shell/OccurrenceFiles.h"
#include "shell/TmainForm.h"

namespace zelkora {

namespace {

// The interface is Russian whatever the system's language, the file dialogs included.
void installRussian(QTranslator& translator) {
    if (translator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&translator);
    }
}

// --help and --version answer on standard output and end the process with status 0; an unknown
// option ends it with its message and the usage on standard error and status 2. Every other
// argument names a table or a file of points. Parsed before the window's application object
// exists, so that they work without a display.
QStringList tableArguments(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zelkora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELKORA_VERSION));
    QTranslator qtRussian;
    installRussian(qtRussian);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Точки на картах Вьетнама и Дальнего Востока: таблица, маркеры, экспорт."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QStringLiteral("Таблица .points, которую открыть при запуске, или файлы точек (.csv, "
                       ".tsv, .txt, .gpx, .kml, .geojson), которые импортировать в таблицу."),
        QStringLiteral("[FILE.points | FILE...]"));
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "%s\n\n%s", parser.errorText().toUtf8().constData(),
                     parser.helpText().toUtf8().constData());
        std::exit(2);
    }
    parser.process(app);
    return parser.positionalArguments();
}

}  // namespace

}  // namespace zelkora

int main(int argc, char* argv[]) {
    const QStringList fileNames = zelkora::tableArguments(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelkora"));
    // The installed desktop entry and icon, so that the desktop shows the window as Zelkora's.
    QGuiApplication::setDesktopFileName(QStringLiteral("zelkora"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("zelkora")));
    QTranslator qtRussian;
    zelkora::installRussian(qtRussian);
    zelkora::CopperTheme::apply(app);
    zelkora::TmainForm form;
    form.show();
    // "zelkora FILE.points" or "zelkora FILE.csv", as a double-click in the file manager starts
    // it. The table opens, or the file is imported, once the window is up, so that an error box
    // stands over it.
    if (!fileNames.isEmpty()) {
        QTimer::singleShot(0, &form,
                           [&form, fileNames] { form.occurrenceFiles->openFiles(fileNames); });
    }
    // Closing the window asks about a changed table, then ends the program.
    return QApplication::exec();
}
