// The modal boxes, answered by a "person" who acts once the box is open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <functional>

#include "common/gbk.h"
#include "testing/scripted_prompts.h"
#include "ui/input_dialog.h"
#include "ui/qt_prompts.h"

namespace qinghe::ui {
namespace {

using namespace literals;

// Runs `act` on the modal box as soon as one is open.
void whenBoxOpens(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(box);
        }
    });
    poll->start(5);
}

QPushButton* buttonWithText(QWidget* box, const QString& text) {
    for (auto* b : box->findChildren<QPushButton*>()) {
        if (b->text() == text) return b;
    }
    return nullptr;
}

TEST(MessageBox, OkCancelAnswers) {
    QtPrompts prompts;
    const MessageStyle question{MessageButtons::OkCancel, MessageIcon::Question};

    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenBoxOpens([&](QWidget* box) {
        auto* m = qobject_cast<QMessageBox*>(box);
        caption = m->windowTitle();
        text = m->text();
        icon = m->icon();
        ASSERT_NE(buttonWithText(m, QStringLiteral("确定")), nullptr);
        buttonWithText(m, QStringLiteral("确定"))->click();
    });
    EXPECT_EQ(prompts.messageBox("确定清空数据库吗？"_gbk, question), MessageResult::Ok);
    EXPECT_EQ(caption, QStringLiteral("信息："));
    EXPECT_EQ(text, QStringLiteral("确定清空数据库吗？"));
    EXPECT_EQ(icon, QMessageBox::Question);

    whenBoxOpens([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(prompts.messageBox("x", question), MessageResult::Cancel);

    whenBoxOpens([](QWidget* box) { box->close(); });
    EXPECT_EQ(prompts.messageBox("x", question), MessageResult::Cancel);

    whenBoxOpens([](QWidget* box) { buttonWithText(box, QStringLiteral("取消"))->click(); });
    EXPECT_EQ(prompts.messageBox("x", question), MessageResult::Cancel);
}

// The toolkit's texts as they are when its Chinese translation is missing.
class Untranslated final : public QTranslator {
  public:
    QString translate(const char*, const char* source, const char*, int) const override {
        return QString::fromUtf8(source);
    }
    bool isEmpty() const override { return false; }
};

TEST(MessageBox, TheButtonsSpeakChineseWithoutTheToolkitsTranslation) {
    Untranslated english;
    QCoreApplication::installTranslator(&english);
    QtPrompts prompts;
    for (MessageButtons buttons : {MessageButtons::Ok, MessageButtons::OkCancel}) {
        QStringList texts;
        whenBoxOpens([&](QWidget* box) {
            for (QAbstractButton* b : qobject_cast<QMessageBox*>(box)->buttons()) {
                texts << b->text();
            }
            QTest::keyClick(box, Qt::Key_Escape);
        });
        prompts.messageBox("x", {buttons, MessageIcon::None});
        texts.sort();
        QStringList ours{QStringLiteral("确定")};
        if (buttons == MessageButtons::OkCancel) ours.prepend(QStringLiteral("取消"));
        EXPECT_EQ(texts, ours);
    }
    QCoreApplication::removeTranslator(&english);
}

TEST(MessageBox, IconsCaptionAndOkAlone) {
    QtPrompts prompts;
    const std::pair<MessageIcon, QMessageBox::Icon> icons[] = {
        {MessageIcon::Information, QMessageBox::Information},
        {MessageIcon::Warning, QMessageBox::Warning},
        {MessageIcon::Error, QMessageBox::Critical},
        {MessageIcon::None, QMessageBox::NoIcon},
    };
    for (const auto& [ours, qt] : icons) {
        QMessageBox::Icon shown = QMessageBox::Question;
        QString caption;
        int buttons = 0;
        whenBoxOpens([&](QWidget* box) {
            auto* m = qobject_cast<QMessageBox*>(box);
            shown = m->icon();
            caption = m->windowTitle();
            buttons = static_cast<int>(m->buttons().size());
            QTest::keyClick(box, Qt::Key_Escape);
        });
        EXPECT_EQ(prompts.messageBox("数据库已备份。"_gbk, {MessageButtons::Ok, ours}, "错误"_gbk),
                  MessageResult::Ok);
        EXPECT_EQ(shown, qt);
        EXPECT_EQ(caption, QStringLiteral("错误"));
        EXPECT_EQ(buttons, 1);
    }
}

TEST(InputBox, MaskedEntryReturnsTheTypedTextBlanksIncluded) {
    QtPrompts prompts;
    QString title;
    bool masked = false;
    bool hasPrompt = true;
    whenBoxOpens([&](QWidget* box) {
        auto* d = qobject_cast<InputDialog*>(box);
        title = d->windowTitle();
        masked = d->field()->echoMode() == QLineEdit::Password;
        hasPrompt = !d->findChildren<QLabel*>().isEmpty();
        QTest::keyClicks(d->field(), QStringLiteral(" pa ss "));
        QTest::keyClick(d->field(), Qt::Key_Return);  // Enter takes the default button
    });
    std::string text = "before";
    EXPECT_TRUE(prompts.inputBox(text, {}, "请输入密码"_gbk, true));
    EXPECT_EQ(text, " pa ss ");
    EXPECT_EQ(title, QStringLiteral("请输入密码"));
    EXPECT_TRUE(masked);
    EXPECT_FALSE(hasPrompt);
}

TEST(InputBox, CancelAndCloseLeaveTheCallersTextUnchanged) {
    QtPrompts prompts;
    std::string text = "kept";
    QString title;
    whenBoxOpens([&](QWidget* box) {
        auto* d = qobject_cast<InputDialog*>(box);
        title = d->windowTitle();
        EXPECT_EQ(d->okButton()->text(), QStringLiteral("确认输入(&O)"));
        EXPECT_EQ(d->cancelButton()->text(), QStringLiteral("取消(&C)"));
        QTest::keyClicks(d->field(), QStringLiteral("typed"));
        d->cancelButton()->click();
    });
    EXPECT_FALSE(prompts.inputBox(text, "提示"_gbk));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(title, QStringLiteral("请输入："));

    whenBoxOpens([](QWidget* box) { box->close(); });
    EXPECT_FALSE(prompts.inputBox(text));
    EXPECT_EQ(text, "kept");

    whenBoxOpens([](QWidget* box) {
        auto* d = qobject_cast<InputDialog*>(box);
        QTest::keyClicks(d->field(), QStringLiteral("x"));
        QTest::keyClick(d->field(), Qt::Key_Escape);
    });
    EXPECT_FALSE(prompts.inputBox(text));
    EXPECT_EQ(text, "kept");

    whenBoxOpens([](QWidget* box) { qobject_cast<InputDialog*>(box)->okButton()->click(); });
    EXPECT_TRUE(prompts.inputBox(text));
    EXPECT_EQ(text, "");  // OK with nothing typed gives the empty text
}

TEST(InputBox, ThePromptMakesTheLargerDialog) {
    InputDialog with(QStringLiteral("请输入新密码"), QStringLiteral("t"), false);
    InputDialog without(QString(), QStringLiteral("t"), false);
    with.adjustSize();
    without.adjustSize();
    EXPECT_GT(with.sizeHint().width(), without.sizeHint().width());
    EXPECT_GT(with.sizeHint().height(), without.sizeHint().height());
    EXPECT_TRUE(with.field()->text().isEmpty());
}

TEST(ScriptedPrompts, AnswersInOrderAndRecordsWhatWasAsked) {
    ScriptedPrompts prompts;
    prompts.answerInput("secret");
    prompts.answerInput(std::nullopt);
    prompts.answerMessage(MessageResult::Ok);
    std::string text = "old";
    EXPECT_TRUE(prompts.inputBox(text, {}, "请设置密码"_gbk, true));
    EXPECT_EQ(text, "secret");
    EXPECT_FALSE(prompts.inputBox(text, {}, "确认密码"_gbk, true));
    EXPECT_EQ(text, "secret");
    EXPECT_EQ(prompts.messageBox("a", {}), MessageResult::Ok);
    EXPECT_EQ(prompts.messageBox("b", {}), MessageResult::Cancel);  // nothing queued
    ASSERT_EQ(prompts.inputs().size(), 2u);
    EXPECT_EQ(prompts.inputs()[1].title, "确认密码"_gbk);
    EXPECT_EQ(prompts.messages()[1].caption, kDefaultMessageCaption);
    EXPECT_EQ(prompts.unusedAnswers(), 0u);
}

}  // namespace
}  // namespace qinghe::ui
