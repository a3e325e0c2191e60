// Test support for the Qt host: windows described inline, and a recorder of a button's key events.
// Owns nothing beyond the strings it records.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "buttons/ButtonEvents.h"
#include "forms/Description.h"

namespace hosts::testing {

// A 4500x3000-twip window named F holding `body` (its controls' descriptions).
inline forms::Document Describe(const std::string& body) {
    return forms::ParseDescription("DizoForm 1\nBegin Form F\n Caption = \"Janela \"\n ClientWidth = 4500\n"
                                   " ClientHeight = 3000\n" + body + "End\n",
                                   "test.frm", std::filesystem::path(DIZO_SOURCE_DIR) / "relay" / "forms");
}

inline const char* const kButton =
    " Begin Button ligar\n  Left = 150\n  Top = 300\n  Width = 2175\n  Height = 615\n  TabIndex = 1\n"
    "  Caption = \"&Ligar \"\n  Font = Font(\"Times New Roman\", 15.75, Bold)\n  cBack = &H0080FF80&\n End\n";

// Key events as "D65,0" (KeyDown code, shift), "P231" (KeyPress) and "U65,0" (KeyUp), and clicks as "Click".
class KeyTrace final : public buttons::ButtonEvents {
public:
    std::vector<std::string> events;
    void KeyDown(std::int16_t& k, std::int16_t& s) override { events.push_back("D" + Pair(k, s)); }
    void KeyPress(std::int16_t& k) override { events.push_back("P" + std::to_string(k)); }
    void KeyUp(std::int16_t& k, std::int16_t& s) override { events.push_back("U" + Pair(k, s)); }
    void Click() override { events.push_back("Click"); }

private:
    static std::string Pair(int a, int b) { return std::to_string(a) + "," + std::to_string(b); }
};

}  // namespace hosts::testing
