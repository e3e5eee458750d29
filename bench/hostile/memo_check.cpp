// The memo check of a reception run on its own: is a mail body already in a
// 10 MB memo? Times an ordinary body and one made to match at the second
// byte of every double-byte character (each such match must be rejected).
// Prints "<case> <CPU seconds>" per case.
#include "jconvert/sjis.h"

#include <cstdio>
#include <ctime>
#include <string>

int main()
{
    std::string memo;
    const std::string line
        = "\x83\x81\x83\x82 \x8b\x8d\x93\xfb\x82\xf0\x94\x83\x82\xa4\r\n"; // メモ 牛乳を買う
    while (memo.size() < 10u << 20)
        memo += line;
    // Ordinary: a 2 KB body that is not in the memo.
    std::string ordinary;
    while (ordinary.size() < 2048)
        ordinary += "\x89\xef\x8b\x63\x82\xcc\x8e\x91\x97\xbf"; // 会議の資料
    // Crafted: a memo of あ (82 A0) and a body A0 82 A0 82 ... that matches
    // at every odd offset, never on a character boundary.
    std::string kana;
    while (kana.size() < 10u << 20)
        kana += "\x82\xa0";
    std::string crafted;
    while (crafted.size() < 2048)
        crafted += "\xa0\x82";
    crafted += "x";
    const struct {
        const char* name;
        const std::string& memo;
        const std::string& body;
    } cases[] = { { "ordinary", memo, ordinary }, { "crafted", kana, crafted } };
    for (const auto& c : cases) {
        // CPU time: the machine is shared, wall time says little.
        const std::clock_t start = std::clock();
        const std::size_t at = jconvert::SjisFind(c.memo, c.body);
        const double took = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        std::printf("%s %.4f %s\n", c.name, took, at == std::string::npos ? "absent" : "found");
    }
}
