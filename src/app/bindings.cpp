#include "app/bindings.h"

#include <QPushButton>

#include "app/app_context.h"
#include "app/date_change_handler.h"
#include "app/main_form.h"
#include "app/wage_handler.h"
#include "ui/date_picker.h"

namespace qinghe::app {

void bindEvents(AppContext& app) {
    MainForm& form = app.form;
    QObject::connect(form.按钮结果输出, &QPushButton::clicked, &form,
                     [&app] { calculateWages(app); });
    QObject::connect(form.日期框1, &ui::DatePicker::userChangedDate, &form,
                     [&app] { onDateChanged(app); });
}

}  // namespace qinghe::app
