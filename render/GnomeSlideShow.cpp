#include "render/GnomeSlideShow.h"

#include <QByteArray>
#include <QXmlStreamReader>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace render {
namespace {

struct Sized {
    int width = 0;
    int height = 0;
    std::string path;
};

// One <static> (from only) or <transition> (from and to).
struct Slide {
    double duration = 0;
    std::vector<Sized> from;
    std::vector<Sized> to;
};

// The text of the element just opened, or its <size> children.
std::vector<Sized> ReadFiles(QXmlStreamReader& xml)
{
    std::vector<Sized> files;
    QString text;
    while (xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isEndElement())
            break;
        if (xml.isCharacters()) {
            text += xml.text();
        } else if (xml.isStartElement()) {
            if (xml.name() == u"size") {
                Sized s;
                s.width = xml.attributes().value("width").toInt();
                s.height = xml.attributes().value("height").toInt();
                s.path = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed().toStdString();
                if (!s.path.empty())
                    files.push_back(std::move(s));
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    if (files.empty() && !text.trimmed().isEmpty())
        files.push_back({ 0, 0, text.trimmed().toStdString() });
    return files;
}

double ReadDuration(QXmlStreamReader& xml)
{
    bool ok = false;
    const double d = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed().toDouble(&ok);
    return ok && std::isfinite(d) && d > 0 ? d : 0;
}

// GNOME's choice among sizes: of those at least as large as the screen the
// closest in proportions (then in width); when none is, of all of them.
const Sized* BestSize(const std::vector<Sized>& files, int width, int height)
{
    if (files.empty())
        return nullptr;
    const double aspect = height > 0 ? static_cast<double>(width) / height : 1.0;
    for (int pass = 0; pass < 2; ++pass) {
        const Sized* best = nullptr;
        double distance = 10000;
        for (const Sized& s : files) {
            if (pass == 0 && (s.width < width || s.height < height))
                continue;
            const double d = std::fabs(aspect - (s.height > 0 ? static_cast<double>(s.width) / s.height : 0));
            if (d < distance) {
                distance = d;
                best = &s;
            } else if (d == distance && best && std::abs(s.width - width) < std::abs(best->width - width)) {
                best = &s;
            }
        }
        if (best)
            return best;
    }
    return &files.front();
}

} // namespace

bool IsGnomeSlideShow(std::string_view data)
{
    const std::string_view head = data.substr(0, 4096);
    const std::size_t first = head.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return first != std::string_view::npos && head[first] == '<'
        && head.find("<background") != std::string_view::npos && head.find("<svg") == std::string_view::npos;
}

std::string SlideShowPicture(std::string_view data, const std::filesystem::path& folder,
    std::chrono::local_seconds now, int width, int height)
{
    using namespace std::chrono;
    QXmlStreamReader xml(QByteArray::fromRawData(data.data(), static_cast<qsizetype>(data.size())));
    std::vector<Slide> slides;
    int start[6] = { 1970, 1, 1, 0, 0, 0 }; // year, month, day, hour, minute, second
    while (xml.readNextStartElement()) {
        if (xml.name() != u"background") {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() == u"starttime") {
                static const char16_t* const fields[6]
                    = { u"year", u"month", u"day", u"hour", u"minute", u"second" };
                while (xml.readNextStartElement()) {
                    int i = 0;
                    while (i < 6 && xml.name() != fields[i])
                        ++i;
                    const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
                    if (i < 6)
                        start[i] = text.trimmed().toInt();
                }
            } else if (xml.name() == u"static" || xml.name() == u"transition") {
                Slide slide;
                while (xml.readNextStartElement()) {
                    if (xml.name() == u"duration")
                        slide.duration = ReadDuration(xml);
                    else if (xml.name() == u"file" || xml.name() == u"from")
                        slide.from = ReadFiles(xml);
                    else if (xml.name() == u"to")
                        slide.to = ReadFiles(xml);
                    else
                        xml.skipCurrentElement();
                }
                if (!slide.from.empty())
                    slides.push_back(std::move(slide));
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    if (slides.empty())
        return {};

    double total = 0;
    for (const Slide& s : slides)
        total += s.duration;
    const Slide* chosen = &slides.front();
    bool second = false;
    const year_month_day date { year { start[0] }, month { static_cast<unsigned>(start[1]) },
        day { static_cast<unsigned>(start[2]) } };
    if (total > 0 && std::isfinite(total) && date.ok()) {
        const local_seconds begin
            = local_days { date } + hours { start[3] } + minutes { start[4] } + seconds { start[5] };
        double into = std::fmod(static_cast<double>((now - begin).count()), total);
        if (into < 0)
            into += total;
        double elapsed = 0;
        for (const Slide& s : slides) {
            if (s.duration > 0 && into < elapsed + s.duration) {
                chosen = &s;
                second = !s.to.empty() && into - elapsed >= s.duration / 2;
                break;
            }
            elapsed += s.duration;
        }
    }
    const Sized* file = BestSize(second ? chosen->to : chosen->from, width, height);
    if (!file)
        return {};
    const std::filesystem::path path(file->path);
    return (path.is_absolute() ? path : folder / path).string();
}

} // namespace render
