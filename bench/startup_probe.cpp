// The window program's start-up, main() as it stands but for the data folder
// and the password, which the benchmark gives:
//
//   startup_probe DIR            ends once the password box is painted
//   startup_probe DIR PASSWORD   answers the password box with PASSWORD
//                                (unseen) and ends once the main window is
//                                painted with its first values
//   ... --sayings SECONDS        instead of ending, opens the page 使用说明 and,
//                                SECONDS later, prints the processor time the
//                                program used meanwhile against the wall time
//   ... --trace                  prints, on stderr, the milliseconds since
//                                main() began at each step of the start-up
//   startup_probe DIR --page-only
//                                shows the window as built, without the
//                                start-up's work (no password, no journal,
//                                no calculation), and ends once it is
//                                painted: what the page itself costs
#include <sys/resource.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/main_form.h"
#include "app/window_program.h"
#include "quit_at_first_paint.h"
#include "ui/application.h"
#include "ui/page_control.h"
#include "ui/qt_prompts.h"
#include "ui/text.h"

namespace {

using Clock = std::chrono::steady_clock;
const Clock::time_point kBegan = Clock::now();
bool tracing = false;

void trace(const char* step) {
    if (!tracing) return;
    const auto ms = std::chrono::duration<double, std::milli>(Clock::now() - kBegan).count();
    std::fprintf(stderr, "%8.1f ms  %s\n", ms, step);
}

// The real boxes, but the password box answered with the benchmark's
// password without showing it.
class SuppliedPassword final : public qinghe::ui::Prompts {
  public:
    SuppliedPassword(Prompts& real, std::optional<std::string> password)
        : real_(real), password_(std::move(password)) {}

    qinghe::ui::MessageResult messageBox(std::string_view text, qinghe::ui::MessageStyle style,
                                         std::string_view caption) override {
        return real_.messageBox(text, style, caption);
    }
    bool inputBox(std::string& text, std::string_view prompt, std::string_view title,
                  bool masked) override {
        trace("the password asked");
        if (!password_) return real_.inputBox(text, prompt, title, masked);
        text = *password_;
        return true;
    }
    bool saveFileBox(std::string& path, std::string_view title, std::string_view suggested,
                     std::string_view filters) override {
        return real_.saveFileBox(path, title, suggested, filters);
    }

  private:
    Prompts& real_;
    std::optional<std::string> password_;
};

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::string> password;
    int sayingsSeconds = 0;
    bool pageOnly = false;
    const char* folder = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--trace") == 0) {
            tracing = true;
        } else if (std::strcmp(argv[i], "--sayings") == 0 && i + 1 < argc) {
            sayingsSeconds = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--page-only") == 0) {
            pageOnly = true;
        } else if (!folder) {
            folder = argv[i];
        } else {
            password = qinghe::ui::toGbk(QString::fromLocal8Bit(argv[i]));
        }
    }
    if (!folder) {
        std::fprintf(stderr,
                     "usage: startup_probe DIR [PASSWORD] [--sayings SECONDS] [--page-only] "
                     "[--trace]\n");
        return 2;
    }
    QApplication application(argc, argv);
    qinghe::ui::setUpApplication(application);
    trace("the application set up");
    qinghe::ui::QtPrompts real;
    SuppliedPassword prompts(real, password);
    qinghe::app::WindowProgram program(folder, prompts);
    qinghe::app::MainForm& form = program.form();
    trace("the window built");
    QObject::connect(&form, &qinghe::app::MainForm::created, [] { trace("start-up done"); });
    QuitAtFirstPaint quit([&](const QWidget& window) {
        return password || pageOnly ? &window == &form : window.inherits("QDialog");
    });
    if (tracing)
        quit.setAtPaint([] {
            trace("painted");
            std::_Exit(0);
        });
    if (sayingsSeconds > 0) {
        quit.setAtPaint([&form, sayingsSeconds] {
            const double cpu = processorSeconds();
            const auto wall = Clock::now();
            QTimer::singleShot(sayingsSeconds * 1000, [cpu, wall] {
                const double used = processorSeconds() - cpu;
                const double elapsed = std::chrono::duration<double>(Clock::now() - wall).count();
                std::printf("sayings: %.3f s of processor time in %.3f s: %.2f %%\n", used, elapsed,
                            100.0 * used / elapsed);
                std::fflush(nullptr);
                std::_Exit(0);
            });
            form.高级选择夹1->setCurrentPage(qinghe::app::kPageHelp);
        });
    }
    if (pageOnly) {
        form.show();
    } else {
        program.start();
    }
    return QApplication::exec();
}
