// The dialog rules without any host: a small window of boxes and buttons, keys in, moves out.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "dialog/Dialog.h"
#include "dialog/Pointers.h"
#include "forms/Description.h"

namespace dialog {
namespace {

using K = Move::Kind;

// Tab order (by TabIndex): one, many, ok, check, quit, single; Label1 takes no focus.
constexpr const char* Window = R"(DizoForm 1
Begin Form F
    Begin TextBox Many
        TabIndex = 1
        MultiLine = True
    End
    Begin Label Label1
        TabIndex = 0
    End
    Begin Button Ok
        TabIndex = 2
        Caption = "&Ok"
    End
    Begin Button Check
        TabIndex = 3
        Mode = 1
    End
    Begin TextBox One
        TabIndex = 0
    End
    Begin Button Quit
        TabIndex = 4
        Caption = "Sair"
    End
    Begin TextBox Single
        TabIndex = 5
    End
End
)";

// What the host would say now: every control usable unless switched off here.
struct Live final : LiveControls {
    std::set<Index> off;
    std::set<Index> notCommand;
    std::map<Index, std::string> keys;
    bool Usable(Index c) const override { return off.count(c) == 0; }
    bool Command(Index c) const override { return notCommand.count(c) == 0; }
    std::string AccessKeys(Index c) const override {
        const auto it = keys.find(c);
        return it == keys.end() ? std::string() : it->second;
    }
};

struct Rig {
    explicit Rig(const std::string& extra = {}) {
        std::string text = Window;
        text.insert(text.rfind("End"), extra);
        doc = forms::ParseDescription(text, "test.frm", ".");
        const forms::WindowModel model = forms::BuildWindowModel(doc);
        for (const forms::ControlModel& c : model.Controls) dialog.Add(c);
        dialog.SetTabOrder(model.TabOrder);
        live.notCommand.insert(At("Check"));
        live.keys[At("Ok")] = "o";
    }
    Index At(std::string_view name) const { return dialog.Find(name).value(); }
    std::optional<Index> Focus(const char* name) const {
        if (name == nullptr) return std::nullopt;
        return At(name);
    }
    forms::Document doc;
    Dialog dialog;
    Live live;
};

Keystroke Press(Key key, bool shift = false) {
    Keystroke k;
    k.key = key;
    k.shift = shift;
    return k;
}

Keystroke Alt(char c) {
    Keystroke k;
    k.character = c;
    k.alt = true;
    return k;
}

TEST(Dialog, NamesAreFoundWithoutRegardToCase) {
    const Rig r;
    EXPECT_EQ(r.dialog.Find("QUIT"), r.dialog.Find("quit"));
    EXPECT_EQ(r.dialog.Name(*r.dialog.Find("label1")), "Label1");
    EXPECT_EQ(r.dialog.RoleOf(*r.dialog.Find("many")), Role::TextBox);
    EXPECT_FALSE(r.dialog.Find("nobody"));
}

TEST(Dialog, TabOrderComesFromTheStoredTabIndexTiesInDescriptionOrder) {
    const Rig r;
    std::vector<std::string> names;
    for (Index i : r.dialog.TabOrder()) names.push_back(r.dialog.Name(i));
    EXPECT_EQ(names, (std::vector<std::string>{"One", "Many", "Ok", "Check", "Quit", "Single"}));
    EXPECT_EQ(r.dialog.FirstStop(r.live), r.At("One"));
}

struct KeyCase {
    const char* focus;  // null: the window itself
    Keystroke key;
    K kind;
    const char* target;  // Focus or Press
    std::int16_t code;   // Press
    std::set<std::string> off{};
};

void Check(Rig& r, const std::vector<KeyCase>& cases) {
    for (const KeyCase& c : cases) {
        r.live.off.clear();
        for (const std::string& n : c.off) r.live.off.insert(r.At(n));
        const Move m = r.dialog.OnKey(c.key, r.Focus(c.focus), r.live);
        const std::string what = std::string(c.focus ? c.focus : "(window)") + " key " +
                                 std::to_string(static_cast<int>(c.key.key)) + (c.key.shift ? "+shift" : "");
        EXPECT_EQ(m.kind, c.kind) << what;
        if (c.target != nullptr) {
            EXPECT_EQ(m.target, r.At(c.target)) << what;
        }
        if (c.kind == K::Press) {
            EXPECT_EQ(m.key, c.code) << what;
        }
    }
}

TEST(Dialog, TabAndShiftTabWalkTheUsableStopsRound) {
    Rig r;
    Check(r, {
                 {"One", Press(Key::Tab), K::Focus, "Many", 0},
                 {"Many", Press(Key::Tab), K::Focus, "Ok", 0},  // a box of several lines gives Tab up
                 {"Single", Press(Key::Tab), K::Focus, "One", 0},
                 {"One", Press(Key::Tab, true), K::Focus, "Single", 0},
                 {"Ok", Press(Key::Tab, true), K::Focus, "Many", 0},
                 {nullptr, Press(Key::Tab), K::Focus, "One", 0},
                 {nullptr, Press(Key::Tab, true), K::Focus, "Single", 0},
                 {"Ok", Press(Key::Tab), K::Focus, "Quit", 0, {"Check"}},  // hidden or disabled: passed over
                 {"Ok", Press(Key::Tab), K::Drop, nullptr, 0, {"One", "Many", "Check", "Quit", "Single"}},
             });
}

TEST(Dialog, EnterPressesTheFocusedCommandButtonAndNothingElseHere) {
    Rig r;
    Check(r, {
                 {"Ok", Press(Key::Enter), K::Press, "Ok", 13},
                 {"Quit", Press(Key::Enter), K::Press, "Quit", 13},
                 {"Many", Press(Key::Enter), K::Keep, nullptr, 0},  // a line break
                 {"Single", Press(Key::Enter), K::Drop, nullptr, 0},
                 {"Check", Press(Key::Enter), K::Keep, nullptr, 0},  // a check box hears it as a key
                 {nullptr, Press(Key::Enter), K::Drop, nullptr, 0},
             });
}

TEST(Dialog, EnterAndEscReachTheStoredDefaultAndCancelButtons) {
    Rig r("    Begin Button Yes\n        TabIndex = 6\n        Default = True\n    End\n"
          "    Begin Button No\n        TabIndex = 7\n        Cancel = True\n    End\n");
    Check(r, {
                 {"Single", Press(Key::Enter), K::Press, "Yes", 13},
                 {"Check", Press(Key::Enter), K::Press, "Yes", 13},
                 {"Ok", Press(Key::Enter), K::Press, "Ok", 13},  // the focused command button goes first
                 {"Many", Press(Key::Enter), K::Keep, nullptr, 0},
                 {"Many", Press(Key::Escape), K::Press, "No", 27},
                 {"Ok", Press(Key::Escape), K::Press, "No", 27},
                 {"Single", Press(Key::Enter), K::Drop, nullptr, 0, {"Yes"}},
                 {"Many", Press(Key::Escape), K::Drop, nullptr, 0, {"No"}},
             });
}

TEST(Dialog, EscWithoutACancelButtonClosesNothing) {
    Rig r;
    Check(r, {
                 {"Many", Press(Key::Escape), K::Drop, nullptr, 0},
                 {"Single", Press(Key::Escape), K::Drop, nullptr, 0},
                 {nullptr, Press(Key::Escape), K::Drop, nullptr, 0},
                 {"Quit", Press(Key::Escape), K::Keep, nullptr, 0},  // the button's own KeyDown(27)
             });
}

TEST(Dialog, ArrowsStayInBoxesAndMoveAmongButtons) {
    Rig r;
    Check(r, {
                 {"Many", Press(Key::Down), K::Keep, nullptr, 0},
                 {"Single", Press(Key::Left), K::Keep, nullptr, 0},
                 {"Ok", Press(Key::Right), K::Keep, nullptr, 0},  // the button hands it to its container
             });
    const std::tuple<const char*, Key, const char*> moves[] = {
        {"Ok", Key::Right, "Check"}, {"Ok", Key::Down, "Check"}, {"Ok", Key::Left, "Quit"},
        {"Ok", Key::Up, "Quit"},     {"Quit", Key::Right, "Ok"}, {"Check", Key::Up, "Ok"},
    };
    for (const auto& [from, arrow, to] : moves) {
        EXPECT_EQ(r.dialog.OnArrow(arrow, r.At(from), r.live), (Move{K::Focus, r.At(to), 0})) << from << "->" << to;
    }
    r.live.off = {r.At("Check"), r.At("Quit")};
    EXPECT_EQ(r.dialog.OnArrow(Key::Right, r.At("Ok"), r.live).kind, K::Drop);  // the only button left
    EXPECT_EQ(r.dialog.OnArrow(Key::Tab, r.At("Ok"), r.live).kind, K::Drop);
}

TEST(Dialog, AccessKeysPressTheirButtonFromAnywhere) {
    Rig r;
    r.live.keys[r.At("Quit")] = "O";  // shared, in the other case: each in turn
    Check(r, {
                 {"Many", Alt('o'), K::Press, "Ok", 'o'},
                 {"Ok", Alt('O'), K::Press, "Quit", 'O'},
                 {"Quit", Alt('o'), K::Press, "Ok", 'o'},
                 {"Many", Alt('o'), K::Press, "Quit", 'o', {"Ok"}},
                 {"Many", Alt('x'), K::Keep, nullptr, 0},
                 {"Many", Alt('o'), K::Keep, nullptr, 0, {"Ok", "Quit"}},
             });
}

TEST(Dialog, TheDefaultLookFollowsTheFocus) {
    Rig r("    Begin Button Yes\n        TabIndex = 6\n        Default = True\n    End\n");
    const std::pair<const char*, const char*> cases[] = {
        {"Ok", "Ok"}, {"Quit", "Quit"}, {"Single", "Yes"}, {"Check", "Yes"}, {"Many", nullptr}, {nullptr, "Yes"},
    };
    for (const auto& [focus, look] : cases) {
        EXPECT_EQ(r.dialog.EnterTarget(r.Focus(focus), r.live), r.Focus(look)) << (focus ? focus : "(window)");
    }
}

TEST(Dialog, VirtualKeysBecomeKeystrokes) {
    struct Row {
        int vk;
        Key key;
        char character;
    };
    const Row rows[] = {{9, Key::Tab, 0},     {13, Key::Enter, 0}, {27, Key::Escape, 0}, {37, Key::Left, 0},
                        {38, Key::Up, 0},     {39, Key::Right, 0}, {40, Key::Down, 0},   {'S', Key::Other, 's'},
                        {'7', Key::Other, '7'}, {112, Key::Other, 0}, {32, Key::Other, 0}};
    for (const Row& r : rows) {
        const Keystroke k = KeystrokeOf(r.vk, true, false, true);
        EXPECT_EQ(k.key, r.key) << r.vk;
        EXPECT_EQ(k.character, r.character) << r.vk;
        EXPECT_TRUE(k.shift && k.alt && !k.ctrl);
    }
}

TEST(Accessible, CaptionsAreSpokenWithoutMarks) {
    const std::pair<const char*, const char*> cases[] = {
        {"&Ok", "Ok"},         {"Salt && pepper", "Salt & pepper"}, {"Ligar ", "Ligar"},
        {"Two||lines", "Two lines"}, {"  ", ""},                    {"a&", "a"},
    };
    for (const auto& [caption, spoken] : cases) EXPECT_EQ(SpokenCaption(caption), spoken) << caption;
}

TEST(Pointers, CodesNameTheirShapes) {
    const std::pair<int, PointerShape> cases[] = {
        {0, PointerShape::Arrow},  {1, PointerShape::Arrow},    {2, PointerShape::Cross}, {3, PointerShape::IBeam},
        {4, PointerShape::Arrow},  {11, PointerShape::Wait},    {13, PointerShape::ArrowAndWait},
        {15, PointerShape::SizeAll}, {16, PointerShape::Arrow}, {99, PointerShape::Arrow}, {-1, PointerShape::Arrow},
    };
    for (const auto& [code, shape] : cases) EXPECT_EQ(PointerShapeFor(code), shape) << code;
}

}  // namespace
}  // namespace dialog
