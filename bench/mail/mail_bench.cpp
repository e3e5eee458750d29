// Costs of a reception run that do not depend on the network: the memo check
// (is this body already in the memo?) against growing memos, and the parsing
// and conversion of one typical memo mail.
#include "jconvert/codes.h"
#include "jconvert/sjis.h"
#include "mail/Message.h"
#include "mail/ReceiveRun.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

// A memo of Japanese lines of about size bytes: 牛乳を買う, 会議室Ａ, ...
std::string Memo(std::size_t size)
{
    const char* lines[] = {
        "\x8b\x8d\x93\xfb\x82\xf0\x94\x83\x82\xa4 ",
        "\x89\xef\x8b\x63\x8e\xba\x82\x60\x82\xc5\x8d\x87\x82\xed\x82\xb9 ",
        "\x8e\x91\x97\xbf\x82\xf0\x8e\x9d\x8e\x51\x82\xb7\x82\xe9 ",
    };
    std::string memo;
    for (int i = 0; memo.size() < size; ++i)
        memo += lines[i % 3] + std::to_string(i) + "\r\n";
    return memo;
}

// A body the memo does not hold, sharing its first characters with memo
// lines so that the search meets many near misses.
const std::string kBody = "\x8b\x8d\x93\xfb\x82\xf0\x94\x83\x82\xa4\x82\xc6\x83\x70\x83\x93\r\n"
                          "\x8e\x91\x97\xbf\x82\xf0\x8e\x9d\x8e\x51 x\r\n";

void BM_MemoCheck(benchmark::State& state)
{
    const std::string memo = Memo(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(jconvert::SjisFind(memo, kBody));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_MemoCheck)->RangeMultiplier(4)->Range(4 << 10, 4 << 20)->Complexity(benchmark::oN);

void BM_ParseMemoMail(benchmark::State& state)
{
    std::vector<std::string> lines {
        "Return-Path: <taro@example.jp>",
        "Received: from mail.example.jp (mail.example.jp [192.0.2.1]) by pop.example.jp",
        "\tfor <memo@example.jp>; Mon, 7 Dec 2026 09:00:00 +0900",
        "From: =?ISO-2022-JP?B?GyRCOzNFRBsoQg==?= <taro@example.jp>",
        "To: memo@example.jp",
        "Subject: =?ISO-2022-JP?B?GyRCJWElYiEnMnE1RCRPGyhCMxskQjt+GyhC?=",
        "Date: Mon, 7 Dec 2026 09:00:00 +0900",
        "MIME-Version: 1.0",
        "Content-Type: text/plain; charset=ISO-2022-JP",
        "Content-Transfer-Encoding: 7bit",
        "",
    };
    for (int i = 0; i < 20; ++i)
        lines.push_back("\x1b$B5mF}$rGc$&!\"2q5D<<#A$G;qNA$r;};2\x1b(B " + std::to_string(i));
    for (auto _ : state) {
        mail::Message msg;
        msg.LoadMessage(lines);
        benchmark::DoNotOptimize(mail::DecodeSubject(msg.Subject()));
        benchmark::DoNotOptimize(jconvert::ConvertJCode(msg.Body(), jconvert::CODE_SJIS));
    }
}
BENCHMARK(BM_ParseMemoMail);

} // namespace

BENCHMARK_MAIN();
