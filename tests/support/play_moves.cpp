#include "tests/support/play_moves.h"

#include <cctype>
#include <stdexcept>

namespace tuvrel::test {

namespace {

// The text of tests/support/plays.txt, built in by tests/support/CMakeLists.txt.
constexpr std::string_view builtInPlays =
#include "plays_text.inc"
    ;

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool isName(std::string_view s)
{
    if (s.empty())
        return false;
    for (const char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

Move parseMove(std::string_view move)
{
    const auto colon = move.find(':');
    if (colon == std::string_view::npos)
        throw std::invalid_argument("a move is click:Control or drag:Source>Target, not \"" + std::string(move) + "\"");
    const std::string_view verb = trimmed(move.substr(0, colon)), what = trimmed(move.substr(colon + 1));
    Move m;
    if (verb == "click") {
        m.source = what;
    } else if (verb == "drag") {
        const auto arrow = what.find('>');
        if (arrow == std::string_view::npos)
            throw std::invalid_argument("a drag is drag:Source>Target, not \"" + std::string(move) + "\"");
        m.source = trimmed(what.substr(0, arrow));
        m.target = trimmed(what.substr(arrow + 1));
        if (!isName(m.target))
            throw std::invalid_argument("no control name after > in \"" + std::string(move) + "\"");
    } else {
        throw std::invalid_argument("unknown move \"" + std::string(verb) + "\" (click or drag)");
    }
    if (!isName(m.source))
        throw std::invalid_argument("no control name in \"" + std::string(move) + "\"");
    return m;
}

}  // namespace

std::vector<Move> parseMoves(std::string_view moves)
{
    std::vector<Move> out;
    while (true) {
        const auto semicolon = moves.find(';');
        out.push_back(parseMove(trimmed(moves.substr(0, semicolon))));
        if (semicolon == std::string_view::npos)
            return out;
        moves = moves.substr(semicolon + 1);
    }
}

std::vector<std::pair<std::string, std::vector<Move>>> parsePlays(std::string_view text)
{
    std::vector<std::pair<std::string, std::vector<Move>>> all;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (line.empty() || line.front() == '#')
            continue;
        try {
            const auto colon = line.find(':');
            const std::string form(trimmed(line.substr(0, colon == std::string_view::npos ? 0 : colon)));
            if (!isName(form))
                throw std::invalid_argument("a play is \"Form: move; move\"");
            for (const auto& [name, moves] : all)
                if (name == form)
                    throw std::invalid_argument("a second play of " + form);
            all.emplace_back(form, parseMoves(line.substr(colon + 1)));
        } catch (const std::invalid_argument& e) {
            throw std::invalid_argument("line " + std::to_string(number) + ": " + e.what());
        }
    }
    return all;
}

std::string_view playsText()
{
    return builtInPlays;
}

}  // namespace tuvrel::test
