#include "platform/MonitorLayout.h"

#include "jconvert/TextLines.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <regex>

namespace platform {
namespace {

int Scaled(double value, double scale)
{
    return static_cast<int>(std::lround(value * scale));
}

QJsonArray JsonArray(const std::string& json)
{
    const QJsonDocument document
        = QJsonDocument::fromJson(QByteArray(json.data(), static_cast<qsizetype>(json.size())));
    return document.isArray() ? document.array() : QJsonArray();
}

Rect RectOf(const QJsonObject& object)
{
    const QJsonObject rect = object.value(QStringLiteral("rect")).toObject();
    return { rect.value(QStringLiteral("x")).toInt(), rect.value(QStringLiteral("y")).toInt(),
        rect.value(QStringLiteral("width")).toInt(), rect.value(QStringLiteral("height")).toInt() };
}

bool Active(const QJsonObject& output)
{
    return output.value(QStringLiteral("active")).toBool(true) && RectOf(output).width > 0;
}

} // namespace

Rect Intersect(const Rect& a, const Rect& b)
{
    const int left = std::max(a.x, b.x);
    const int top = std::max(a.y, b.y);
    const int right = std::min(a.x + a.width, b.x + b.width);
    const int bottom = std::min(a.y + a.height, b.y + b.height);
    if (right <= left || bottom <= top)
        return {};
    return { left, top, right - left, bottom - top };
}

void EnsurePrimary(std::vector<Monitor>& monitors)
{
    if (!monitors.empty()
        && std::none_of(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.primary; }))
        monitors.front().primary = true;
}

namespace {

// One monitor per line that line matches: its groups 2 to 5 are width,
// height, x and y; primary says from the match whether it is the primary.
template <typename Primary>
std::vector<Monitor> MonitorsFromLines(
    const std::string& output, const std::regex& line, double scale, Primary primary)
{
    std::vector<Monitor> monitors;
    std::match_results<std::string_view::const_iterator> m;
    for (const std::string_view text : jconvert::SplitLines(output)) {
        if (!std::regex_search(text.begin(), text.end(), m, line))
            continue;
        Monitor monitor;
        monitor.geometry = { std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[2]), std::stoi(m[3]) };
        monitor.workArea = monitor.geometry;
        monitor.scale = scale;
        monitor.primary = primary(m);
        monitors.push_back(monitor);
    }
    EnsurePrimary(monitors);
    return monitors;
}

} // namespace

std::vector<Monitor> MonitorsFromXrandrList(const std::string& output, double scale)
{
    static const std::regex line(R"(^\s*\d+:\s+\+?(\*?)\S+\s+(\d+)/\d+x(\d+)/\d+([+-]\d+)([+-]\d+))");
    return MonitorsFromLines(output, line, scale, [](const auto& m) { return m[1] == "*"; });
}

std::vector<Monitor> MonitorsFromXrandr(const std::string& output, double scale)
{
    static const std::regex line(R"(^\S+ connected (primary )?(\d+)x(\d+)([+-]\d+)([+-]\d+))");
    return MonitorsFromLines(output, line, scale, [](const auto& m) { return m[1].matched; });
}

std::vector<Monitor> MonitorsFromSwayOutputs(const std::string& json)
{
    std::vector<Monitor> monitors;
    for (const QJsonValue& value : JsonArray(json)) {
        const QJsonObject output = value.toObject();
        if (!Active(output))
            continue;
        const double scale = output.value(QStringLiteral("scale")).toDouble(1.0);
        const Rect logical = RectOf(output);
        Monitor monitor;
        monitor.scale = scale > 0 ? scale : 1.0;
        monitor.geometry = { Scaled(logical.x, monitor.scale), Scaled(logical.y, monitor.scale),
            Scaled(logical.width, monitor.scale), Scaled(logical.height, monitor.scale) };
        monitor.workArea = monitor.geometry;
        monitor.primary = output.value(QStringLiteral("primary")).toBool(false);
        monitors.push_back(monitor);
    }
    // Wayland has no primary output: the first one takes its place.
    EnsurePrimary(monitors);
    return monitors;
}

std::vector<std::string> SwayOutputNames(const std::string& json)
{
    std::vector<std::string> names;
    for (const QJsonValue& value : JsonArray(json)) {
        const QJsonObject output = value.toObject();
        if (Active(output))
            names.push_back(output.value(QStringLiteral("name")).toString().toStdString());
    }
    return names;
}

void ApplySwayWorkspaces(
    std::vector<Monitor>& monitors, const std::vector<std::string>& outputNames, const std::string& json)
{
    for (const QJsonValue& value : JsonArray(json)) {
        const QJsonObject workspace = value.toObject();
        if (!workspace.value(QStringLiteral("visible")).toBool(false))
            continue;
        const std::string output = workspace.value(QStringLiteral("output")).toString().toStdString();
        const auto at = std::find(outputNames.begin(), outputNames.end(), output);
        if (at == outputNames.end())
            continue;
        const auto i = static_cast<std::size_t>(at - outputNames.begin());
        if (i >= monitors.size())
            continue;
        const Rect logical = RectOf(workspace);
        const double scale = monitors[i].scale;
        const Rect area { Scaled(logical.x, scale), Scaled(logical.y, scale), Scaled(logical.width, scale),
            Scaled(logical.height, scale) };
        const Rect inside = Intersect(area, monitors[i].geometry);
        if (inside.width > 0)
            monitors[i].workArea = inside;
    }
}

std::vector<long> XpropNumbers(const std::string& output, const std::string& property)
{
    std::vector<long> numbers;
    for (const std::string_view text : jconvert::SplitLines(output)) {
        if (!text.starts_with(property + "("))
            continue;
        // CARDINAL: "= 0, 32, …"; WINDOW lists: "window id # 0x1, 0x2".
        const auto hash = text.find('#');
        const auto start = hash != std::string::npos ? hash : text.find('=');
        if (start == std::string::npos)
            return {};
        for (std::string_view values = text.substr(start + 1); !values.empty();) {
            const std::size_t comma = values.find(',');
            const std::string item(values.substr(0, comma));
            values.remove_prefix(comma == std::string_view::npos ? values.size() : comma + 1);
            try {
                numbers.push_back(std::stol(item, nullptr, 0));
            } catch (const std::exception&) {
                return {};
            }
        }
        return numbers;
    }
    return numbers;
}

void ApplyStrut(std::vector<Monitor>& monitors, const std::array<long, 12>& s, int rootWidth, int rootHeight)
{
    // Each reserved edge as the rectangle it covers on the whole screen.
    const auto span = [](long start, long end) { return static_cast<int>(end - start + 1); };
    const Rect covered[4] = {
        { 0, static_cast<int>(s[4]), static_cast<int>(s[0]), span(s[4], s[5]) }, // left
        { rootWidth - static_cast<int>(s[1]), static_cast<int>(s[6]), static_cast<int>(s[1]),
            span(s[6], s[7]) },
        { static_cast<int>(s[8]), 0, span(s[8], s[9]), static_cast<int>(s[2]) }, // top
        { static_cast<int>(s[10]), rootHeight - static_cast<int>(s[3]), span(s[10], s[11]),
            static_cast<int>(s[3]) },
    };
    for (Monitor& monitor : monitors) {
        Rect& area = monitor.workArea;
        for (int edge = 0; edge < 4; ++edge) {
            const Rect hit = Intersect(covered[edge], area);
            if (hit.width <= 0)
                continue;
            const int right = area.x + area.width, bottom = area.y + area.height;
            switch (edge) {
            case 0:
                area.x = hit.x + hit.width;
                area.width = right - area.x;
                break;
            case 1:
                area.width = hit.x - area.x;
                break;
            case 2:
                area.y = hit.y + hit.height;
                area.height = bottom - area.y;
                break;
            default:
                area.height = hit.y - area.y;
                break;
            }
        }
    }
}

} // namespace platform
