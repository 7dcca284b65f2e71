#include <QApplication>

#include "shell/CopperTheme.h"
#include "shell/TmainForm.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelkora"));
    CopperTheme::apply(app);
    TmainForm form;
    form.show();
    // Closing the window ends the program without a question.
    return QApplication::exec();
}
