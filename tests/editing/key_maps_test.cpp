// The two key maps: which key with which modifiers starts which command, once.
#include "editing/key_maps.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lavodc {
namespace {

class RecordingCommands : public EditingCommands {
public:
    std::vector<std::string> ran;
    void help() override { ran.push_back("help"); }
    void addWorker() override { ran.push_back("add"); }
    void modifyWorker() override { ran.push_back("modify"); }
    void deleteWorker() override { ran.push_back("delete"); }
    void newSheet() override { ran.push_back("new"); }
    void openSheet() override { ran.push_back("open"); }
    void saveSheet() override { ran.push_back("save"); }
    void exportGrid(GridKind grid) override { ran.push_back(grid == GridKind::DayStrip ? "export days" : "export list"); }
    void recountAll() override { ran.push_back("recount"); }
    void nextMonth() override { ran.push_back("next month"); }
    void importWorkers() override { ran.push_back("import"); }
    void openMonthGrid() override { ran.push_back("month grid"); }
};

struct KeyCase {
    const char* map;          // "list", "days" or "header"
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* command;      // "" when nothing runs
    bool consumed;
};

void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << c.map << " key " << std::hex << int(c.key) << " mods " << int(c.modifiers) << std::dec;
}

class KeyMapTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyMapTest, RunsAtMostOneCommand)
{
    const KeyCase& c = GetParam();
    RecordingCommands commands;
    QLineEdit target;
    std::unique_ptr<QObject> map;
    if (std::string(c.map) == "header")
        map = std::make_unique<HeaderKeyMap>(commands, nullptr);
    else
        map = std::make_unique<GridKeyMap>(commands, std::string(c.map) == "days" ? GridKind::DayStrip
                                                                                    : GridKind::WorkerList, nullptr);
    target.installEventFilter(map.get());
    target.setText(QStringLiteral("ab"));
    target.setCursorPosition(0);

    QTest::keyClick(&target, c.key, c.modifiers);
    const std::vector<std::string> expected = *c.command ? std::vector<std::string>{c.command}
                                                         : std::vector<std::string>{};
    EXPECT_EQ(commands.ran, expected);
    // A consumed key never reaches the box: Delete would have removed the "a".
    if (c.key == Qt::Key_Delete) {
        EXPECT_EQ(target.text(), c.consumed ? QStringLiteral("ab") : QStringLiteral("b"));
    }
}

constexpr auto None = Qt::NoModifier;
constexpr auto Alt = Qt::AltModifier;
constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto Shift = Qt::ShiftModifier;

INSTANTIATE_TEST_SUITE_P(Grids, KeyMapTest, ::testing::Values(
    KeyCase{"list", Qt::Key_F1, None, "help", true},
    KeyCase{"list", Qt::Key_F2, Ctrl | Shift, "add", true},
    KeyCase{"list", Qt::Key_F3, Alt, "modify", true},
    KeyCase{"list", Qt::Key_Delete, None, "delete", true},
    KeyCase{"list", Qt::Key_Delete, Ctrl, "delete", true},
    KeyCase{"days", Qt::Key_Delete, None, "delete", true},
    KeyCase{"list", Qt::Key_Insert, Shift, "", true},
    KeyCase{"list", Qt::Key_N, Alt, "new", true},
    KeyCase{"list", Qt::Key_O, Alt | Ctrl, "open", true},
    KeyCase{"list", Qt::Key_S, Alt | Shift, "save", true},
    KeyCase{"list", Qt::Key_E, Alt, "export list", true},
    KeyCase{"days", Qt::Key_E, Alt, "export days", true},
    KeyCase{"days", Qt::Key_R, Alt, "recount", true},
    KeyCase{"list", Qt::Key_M, Alt, "next month", true},
    KeyCase{"days", Qt::Key_I, Alt, "import", true},
    KeyCase{"list", Qt::Key_D, Alt, "month grid", true},
    KeyCase{"days", Qt::Key_D, Alt | Shift, "month grid", true},
    KeyCase{"list", Qt::Key_D, Ctrl, "", false},
    KeyCase{"list", Qt::Key_S, Ctrl, "", false},
    KeyCase{"list", Qt::Key_X, Alt, "", false}));

INSTANTIATE_TEST_SUITE_P(Header, KeyMapTest, ::testing::Values(
    KeyCase{"header", Qt::Key_F1, Shift, "help", true},
    KeyCase{"header", Qt::Key_F2, None, "add", true},
    KeyCase{"header", Qt::Key_Insert, None, "", true},
    KeyCase{"header", Qt::Key_N, Alt, "new", true},
    KeyCase{"header", Qt::Key_O, Alt, "open", true},
    KeyCase{"header", Qt::Key_S, Alt, "save", true},
    KeyCase{"header", Qt::Key_M, Alt, "next month", true},
    KeyCase{"header", Qt::Key_I, Alt | Shift, "import", true},
    KeyCase{"header", Qt::Key_D, Alt, "month grid", true},
    KeyCase{"header", Qt::Key_F3, None, "", false},
    KeyCase{"header", Qt::Key_Delete, None, "", false},
    KeyCase{"header", Qt::Key_E, Alt, "", false},
    KeyCase{"header", Qt::Key_R, Alt, "", false}));

} // namespace
} // namespace lavodc
