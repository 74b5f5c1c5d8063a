#include "ui/sayings_panel.h"

#include "common/gbk.h"
#include "ui/drawing_panel.h"

namespace qinghe::ui {
namespace {

using namespace literals;

constexpr int kBeforeFirstTipMs = 500;
constexpr int kAfterTipMs = 1000;
constexpr int kAfterLastTipMs = 3000;
constexpr int kBeforePieceMs = 90;
constexpr int kAfterSayingMs = 3000;

const std::string kLineBreak = "\r\n";
const std::string kSpace = " ";

}  // namespace

std::span<const PlacedText> sayingsPanelTips() {
    static const PlacedText tips[kTipCount] = {
        {"＆红颜色代表该项目将加入底工资！"_gbk, {10, 20}},
        {"＆计算结果仅供参考！"_gbk, {10, 40}},
        {"＆准确率在于输入数据的准确程度！"_gbk, {10, 60}},
        {"＆界面基本上不会做美化，本人美化技术 差！差！差！！！..........."_gbk, {10, 80}},
        {"＆遇到问题或希望增加内容，请点击右下角的按钮阅读使用说明。"_gbk, {10, 100}},
    };
    return tips;
}

std::span<const PlacedText> sayingsPanelSayings() {
    static const PlacedText sayings[kSayingCount] = {
        {"痛 苦 像 一 位 严 厉 的 老 师 ， 总 是 先 考 试 后 讲 课 ， 每 上 完 一 课 ， 我 们 都 懂 得 珍 惜 。 "_gbk,
         {0, 150}},
        {"真 正 的 朋 友 ， 在 你 沉 默 时 听 得 懂 你 ， 在 你 跌 倒 时 伸 手 拉 你 。  "_gbk,
         {0, 190}},
        {"爱 不 是 找 完 美 的 人 ， 而 是 学 会 欣 赏 不 完 美 。 "_gbk, {0, 230}},
        {"简 单 的 日 子 藏 着 踏 实 的 幸 福 ： 一 碗 热 饭 ， 一 盏 灯 ， 一 个 等 你 的 人 。 "_gbk,
         {0, 270}},
        {"不 必 事 事 争 第 一 ， 把 手 头 的 每 件 小 事 做 好 ， 本 身 就 是 了 不 起 的 本 事 。 "_gbk,
         {0, 310}},
        {"时 间 不 辜 负 认 真 做 事 的 人 ， 每 一 滴 汗 水 ， 总 会 在 某 天 悄 悄 开 出 花 来 。 "_gbk,
         {0, 350}},
        {"心 里 装 着 阳 光 的 人 ， 走 到 哪 里 都 是 晴 天 。 "_gbk, {0, 390}},
        {"少 一 点 抱 怨 ， 多 一 点 行 动 ， 日 子 自 然 会 慢 慢 变 好 。 "_gbk, {0, 430}},
        {"尊 敬 的 用 户 ： 本 月 工 资 余 额 不 足 ， "_gbk, {0, 540}},
        {"加 班 套 餐 的 免 费 时 长 已 全 部 用 完 ， "_gbk, {0, 580}},
        {"请 下 月 再 来 充 值 ！ "_gbk, {60, 500}},
    };
    return sayings;
}

std::vector<std::string_view> sayingPieces(std::string_view stored) {
    std::vector<std::string_view> pieces;
    while (!stored.empty()) {
        const std::size_t space = stored.find(' ');  // 0x20 is never a trail byte
        if (space == std::string_view::npos) {
            pieces.push_back(stored);
            break;
        }
        pieces.push_back(stored.substr(0, space));
        stored.remove_prefix(space + 1);
    }
    return pieces;
}

bool writeSayings(DrawingPanel& panel, const std::function<bool(int ms)>& wait) {
    const std::span<const PlacedText> tips = sayingsPanelTips();
    for (std::size_t i = 0; i < tips.size(); ++i) {
        panel.setWritePosition(tips[i].place.x(), tips[i].place.y());
        if (i == 0 && !wait(kBeforeFirstTipMs)) return false;
        panel.writeText(tips[i].text);
        const bool last = i + 1 == tips.size();
        if (!last) panel.writeText(kLineBreak);
        if (!wait(last ? kAfterLastTipMs : kAfterTipMs)) return false;
    }
    const std::span<const PlacedText> sayings = sayingsPanelSayings();
    for (std::size_t i = 0; i < sayings.size(); ++i) {
        panel.setWritePosition(sayings[i].place.x(), sayings[i].place.y());
        for (std::string_view piece : sayingPieces(sayings[i].text)) {
            panel.writeText(kSpace);
            if (!wait(kBeforePieceMs)) return false;
            panel.writeText(piece);
        }
        if (i + 1 < sayings.size() && !wait(kAfterSayingMs)) return false;
    }
    return true;
}

}  // namespace qinghe::ui
