#include "app/record_day_handler.h"

#include <QCheckBox>

#include "app/app_context.h"
#include "app/input_helpers.h"
#include "app/journal_support.h"
#include "app/main_form.h"
#include "common/gbk.h"
#include "journal/record_day.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/prompts.h"

namespace qinghe::app {

using namespace literals;

void recordDay(AppContext& app) {
    MainForm& form = app.form;
    journal::DayEntry entry{form.日期框1->value(), form.组合框->textGbk(), std::nullopt,
                            form.选择框夜班->isChecked()};
    for (const DayKindButton& kind : journal::dayKinds<ui::RadioButton*>()) {
        if (!entry.kind && (form.*kind.button)->isChecked()) entry.kind = kind.field;
    }
    journal::StoreError error;
    switch (journal::appendDay(journalAccess(app), entry, error)) {
        case journal::RecordOutcome::AlreadyRecorded:
            app.prompts.messageBox(journal::kAlreadyRecordedText,
                                   {ui::MessageButtons::Ok, ui::MessageIcon::Information});
            break;
        case journal::RecordOutcome::Failed:
            showJournalFailure(app, "记录"_gbk, error);
            break;
        case journal::RecordOutcome::Recorded:
        case journal::RecordOutcome::NoKind:
            break;
    }
}

}  // namespace qinghe::app
