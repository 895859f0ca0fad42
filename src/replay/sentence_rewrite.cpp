#include "replay/sentence_rewrite.h"

#include "replay/sentence.h"
#include "text/conversions.h"

#include <vector>

namespace korvel {

namespace {

// Replaces count fields of the sentence's body from field `first` on with those of `with`.
std::string replaceFields(const std::string& line, size_t first,
                          const std::vector<std::string>& with) {
    std::vector<std::string> fields = SplitFields(BodyOf(line));
    if (fields.size() < first + with.size() || line.find('*') == std::string::npos)
        return line;
    for (size_t i = 0; i < with.size(); ++i)
        fields[first + i] = with[i];
    return FrameSentence(JoinFields(fields));
}

} // namespace

std::string BodyOf(const std::string& line) {
    if (line.empty())
        return "";
    size_t star = line.find('*', 1);
    return line.substr(1, star == std::string::npos ? std::string::npos : star - 1);
}

void RmcTimePosition(std::string_view rmc, std::string& text) {
    std::string_view fields[7];
    FieldViews(rmc, fields);
    text = fields[1];
    for (int field = 3; field <= 6; ++field)
        (text += ',') += fields[field];
}

std::string WithTimePositionGga(const std::string& gga, const std::string& timePosition) {
    // Fields of the body: 0 the identifier, 1 time, 2-5 position.
    std::vector<std::string> with = SplitFields(timePosition);
    return with.size() == 5 ? replaceFields(gga, 1, with) : gga;
}

std::string WithTimePositionGll(const std::string& gll, const std::string& timePosition) {
    // Fields of the body: 0 the identifier, 1-4 position, 5 time.
    std::vector<std::string> with = SplitFields(timePosition);
    if (with.size() != 5)
        return gll;
    with.erase(with.begin());
    return replaceFields(gll, 1, with);
}

std::string WithRmcPosition(const std::string& gga, const std::string& rmc) {
    std::vector<std::string> rmcFields = SplitFields(BodyOf(rmc));
    if (rmcFields.size() < 7)
        return gga;
    std::vector<std::string> fields = SplitFields(BodyOf(gga));
    if (fields.size() < 6)
        return gga;
    for (size_t i = 0; i < 4; ++i)
        fields[2 + i] = rmcFields[3 + i];
    size_t star = gga.find('*');
    return "$" + JoinFields(fields) + (star == std::string::npos ? "" : gga.substr(star));
}

} // namespace korvel
