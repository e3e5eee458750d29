#include "mail/TextReceiveWindow.h"

namespace mail {

void AppendLines(std::string& memo, const std::string& text)
{
    if (!memo.empty() && memo.back() != '\n' && memo.back() != '\r')
        memo += "\r\n";
    memo += text;
}

void TextReceiveWindow::AddLogLine(const std::string& line)
{
    log_.push_back(line);
    if (onLogLine)
        onLogLine(line);
}

void TextReceiveWindow::AppendMemoLines(const std::string& text)
{
    AppendLines(memo_, text);
}

} // namespace mail
