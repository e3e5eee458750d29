// Costs of a reception run that do not depend on the network: the memo check
// (is this body already in the memo?) against growing memos, and the parsing
// and conversion of one typical memo mail.
#include "jconvert/codes.h"
#include "jconvert/cp932.h"
#include "jconvert/sjis.h"
#include "mail/Message.h"
#include "mail/ReceiveRun.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

// A memo of Japanese lines of about size bytes.
std::string Memo(std::size_t size)
{
    const std::string lines[] = {
        jconvert::Utf8ToCp932("牛乳を買う "),
        jconvert::Utf8ToCp932("会議室Ａで合わせ "),
        jconvert::Utf8ToCp932("資料を持参する "),
    };
    std::string memo;
    for (int i = 0; memo.size() < size; ++i)
        memo += lines[i % 3] + std::to_string(i) + "\r\n";
    return memo;
}

// A body the memo does not hold, sharing its first characters with memo
// lines so that the search meets many near misses.
const std::string kBody = jconvert::Utf8ToCp932("牛乳を買うとパン\r\n資料を持参 x\r\n");

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
