#include "support/corpus.h"

#include "text/line_reader.h"

#include <cstdlib>

namespace korvel::test {

std::string CorpusFolder() {
    if (const char* dir = std::getenv("KORVEL_CORPUS"))
        return dir;
    return KORVEL_CORPUS_DIR;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    LineReader reader;
    reader.open(path);
    while (!reader.eof())
        lines.push_back(reader.readLine());
    return lines;
}

} // namespace korvel::test
