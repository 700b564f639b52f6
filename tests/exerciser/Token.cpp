#include "Token.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "app/FormDefinition.h"

namespace sudoku::exercise {

const std::vector<std::string>& MenuItems() {
    static const std::vector<std::string> items = [] {
        std::vector<std::string> v;
        for (const auto& menu : form::MenuBar())
            for (const auto& item : menu.items) v.emplace_back(item.name);
        return v;
    }();
    return items;
}

int MenuIndex(const std::string& name) {
    const auto& items = MenuItems();
    const auto it = std::find(items.begin(), items.end(), name);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

bool IsSeparator(int menuIndex) {
    const std::string& name = MenuItems().at(menuIndex);
    return name.size() == 2 && name[0] == 'r';
}

bool StartsNewGame(int menuIndex) {
    const std::string& name = MenuItems().at(menuIndex);
    return name == "mnuNewGame" || (name.rfind("mnuGame", 0) == 0 && name != "mnuGameClear");
}

// A tag followed by a number; built by appending, which also spares GCC 12 a false -Wrestrict.
std::string Tagged(const char* tag, long v) {
    std::string s = tag;
    s += std::to_string(v);
    return s;
}

std::string ToText(const Token& t) {
    switch (t.kind) {
        case Kind::CellClick: return Tagged("c", t.arg);
        case Kind::CellDblClick: return Tagged("C", t.arg);
        case Kind::PickerClick: return Tagged("p", t.arg);
        case Kind::PickerDblClick: return Tagged("P", t.arg);
        case Kind::InfoClick: return "i";
        case Kind::Key: {
            std::string s = Tagged("k", t.arg);
            if (t.repeat != 1) s += Tagged("x", t.repeat);
            if (t.shift != 0) s += Tagged("s", t.shift);
            return s;
        }
        case Kind::Menu: {
            std::string s = "m:";
            s += MenuItems().at(t.arg);
            if (t.buildSeed != 0) s += Tagged("#", static_cast<long>(t.buildSeed));
            return s;
        }
        case Kind::Tick: return "t";
        case Kind::Close: return "X";
        case Kind::MinimiseRefusal: return "f";
        case Kind::Yield: return "y";
    }
    return "?";
}

std::string ToText(const Script& s) {
    char clock[32];
    std::snprintf(clock, sizeof clock, "@%.2f", static_cast<double>(s.clockSeconds));
    std::string out = clock;
    for (const Token& t : s.tokens) {
        out += ' ';
        out += ToText(t);
    }
    return out;
}

namespace {

long Number(const std::string& word, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < word.size() && word[pos] >= '0' && word[pos] <= '9') ++pos;
    if (pos == start || pos - start > 10) throw std::invalid_argument("number expected in '" + word + "'");
    return std::stol(word.substr(start, pos - start));
}

Token ParseToken(const std::string& w) {
    Token t;
    std::size_t pos = 1;
    auto indexed = [&](Kind kind, long lo, long hi) {
        t.kind = kind;
        const long v = Number(w, pos);
        if (v < lo || v > hi) throw std::invalid_argument("out of range: '" + w + "'");
        t.arg = static_cast<std::int16_t>(v);
    };
    switch (w[0]) {
        case 'c': indexed(Kind::CellClick, 1, 81); break;
        case 'C': indexed(Kind::CellDblClick, 1, 81); break;
        case 'p': indexed(Kind::PickerClick, 1, 10); break;
        case 'P': indexed(Kind::PickerDblClick, 1, 10); break;
        case 'k':
            indexed(Kind::Key, 0, 255);
            while (pos < w.size()) {
                const char what = w[pos++];
                const long v = Number(w, pos);
                if (what == 'x' && v >= 1 && v <= 1000) t.repeat = static_cast<std::int16_t>(v);
                else if (what == 's' && v <= 7) t.shift = static_cast<std::int16_t>(v);
                else throw std::invalid_argument("bad key '" + w + "'");
            }
            break;
        case 'm': {
            if (w.size() < 3 || w[1] != ':') throw std::invalid_argument("bad menu '" + w + "'");
            const std::size_t hash = w.find('#');
            const int index = MenuIndex(w.substr(2, hash == std::string::npos ? std::string::npos : hash - 2));
            if (index < 0) throw std::invalid_argument("no menu item '" + w + "'");
            t.kind = Kind::Menu;
            t.arg = static_cast<std::int16_t>(index);
            pos = w.size();
            if (hash != std::string::npos) {
                pos = hash + 1;
                t.buildSeed = static_cast<std::uint32_t>(Number(w, pos));
            }
            break;
        }
        case 'i': t.kind = Kind::InfoClick; break;
        case 't': t.kind = Kind::Tick; break;
        case 'X': t.kind = Kind::Close; break;
        case 'f': t.kind = Kind::MinimiseRefusal; break;
        case 'y': t.kind = Kind::Yield; break;
        default: throw std::invalid_argument("unknown event '" + w + "'");
    }
    if (pos < w.size()) throw std::invalid_argument("trailing text in '" + w + "'");
    return t;
}

}  // namespace

Script ParseScript(const std::string& text) {
    Script s;
    std::istringstream in(text);
    std::string word;
    bool first = true;
    while (in >> word) {
        if (first && word[0] == '@') {
            s.clockSeconds = std::stof(word.substr(1));
        } else {
            s.tokens.push_back(ParseToken(word));
        }
        first = false;
    }
    return s;
}

}  // namespace sudoku::exercise
