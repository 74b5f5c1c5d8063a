#include "app/fatal_error_box.h"

#include "common/gbk.h"
#include "ui/prompts.h"

namespace qinghe::app {

using namespace literals;

std::string fatalErrorText(const recordstore::FatalError& error) {
    std::string text = "运行时出错!\n\n"_gbk;
    if (error.code != 0) text += "错误代码："_gbk + std::to_string(error.code) + "\n\n";
    if (!error.message.empty()) text += "错误信息："_gbk + error.message + "\n";
    return text;
}

FatalErrorBox::FatalErrorBox(ui::Prompts& prompts, EndProgram end)
    : previous_(recordstore::setFatalErrorHandler(
          [&prompts, end = std::move(end)](const recordstore::FatalError& error) {
              prompts.messageBox(fatalErrorText(error),
                                 {ui::MessageButtons::Ok, ui::MessageIcon::Error}, "错误"_gbk);
              end(-1);
          })) {}

FatalErrorBox::~FatalErrorBox() {
    recordstore::setFatalErrorHandler(std::move(previous_));
}

}  // namespace qinghe::app
