// Qinghe: one employee's pay and overtime journal, in one window.
#include <QApplication>

#include "app/app_context.h"
#include "app/bindings.h"
#include "app/main_form.h"
#include "common/clock.h"
#include "ui/qt_prompts.h"
#include "ui/translations.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    qinghe::ui::installChineseTranslations(application);

    qinghe::Clock& clock = qinghe::systemClock();
    qinghe::app::MainForm form(clock.now());
    qinghe::ui::QtPrompts prompts;
    const qinghe::ProgramDir dir{QApplication::applicationDirPath().toStdString()};
    qinghe::app::AppContext app{form, prompts, clock, dir, {}, {}, 0.0};
    qinghe::app::bindEvents(app);

    form.centreOnScreen();
    form.show();
    return QApplication::exec();
}
