#include "app/bindings.h"

#include <QPushButton>

#include "app/app_context.h"
#include "app/main_form.h"
#include "app/wage_handler.h"

namespace qinghe::app {

void bindEvents(AppContext& app) {
    MainForm& form = app.form;
    QObject::connect(form.按钮结果输出, &QPushButton::clicked, &form,
                     [&app] { calculateWages(app); });
}

}  // namespace qinghe::app
