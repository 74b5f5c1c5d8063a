// Chinese for the toolkit's own texts: the standard buttons of message boxes
// ("确定", "取消") and the context menus of text fields.
#pragma once

class QCoreApplication;

namespace qinghe::ui {

// Loads Qt's simplified-Chinese translations into `app`. Returns false when
// the translation files are not installed; the texts then stay English.
bool installChineseTranslations(QCoreApplication& app);

}  // namespace qinghe::ui
