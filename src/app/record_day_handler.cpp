#include "app/record_day_handler.h"

#include <QCheckBox>

#include "app/app_context.h"
#include "app/journal_support.h"
#include "app/main_form.h"
#include "common/gbk.h"
#include "journal/record_day.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/prompts.h"

namespace qinghe::app {
namespace {

using namespace literals;

// The kind radio buttons in the order in which they are looked at.
struct KindButton {
    ui::RadioButton* MainForm::*button;
    journal::Field kind;
};
constexpr KindButton kKindButtons[] = {
    {&MainForm::单选框加班1, journal::Field::G1},
    {&MainForm::单选框加班2, journal::Field::G2},
    {&MainForm::单选框加班3, journal::Field::G3},
    {&MainForm::单选框事假, journal::Field::PersonalLeave},
    {&MainForm::单选框病假, journal::Field::SickLeave},
    {&MainForm::单选框旷工, journal::Field::Absence},
};

}  // namespace

void recordDay(AppContext& app) {
    MainForm& form = app.form;
    journal::DayEntry entry{form.日期框1->value(), form.组合框->textGbk(), std::nullopt,
                            form.选择框夜班->isChecked()};
    for (const KindButton& b : kKindButtons) {
        if (!entry.kind && (form.*b.button)->isChecked()) entry.kind = b.kind;
    }
    journal::StoreError error;
    switch (journal::recordDay(journalAccess(app), entry, error)) {
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
