#include "LayeringCheck.h"

#include <fstream>
#include <sstream>

namespace test {

namespace {

    std::string readFile(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::vector<std::string> words(const std::string& text)
    {
        std::istringstream in(text);
        std::vector<std::string> out;
        for (std::string word; in >> word;)
            out.push_back(word);
        return out;
    }

    // The arguments of the first `lumet_library(...)` of a CMake file, split at white space.
    std::vector<std::string> libraryArguments(const std::string& text)
    {
        constexpr std::string_view call = "lumet_library";
        size_t start = text.find(call);
        if (start == std::string::npos)
            return {};
        size_t open = text.find_first_not_of(" \t", start + call.size());
        if (open == std::string::npos || text[open] != '(')
            return {};
        size_t close = text.find(')', open);
        if (close == std::string::npos)
            return {};
        return words(text.substr(open + 1, close - open - 1));
    }

    // The first path component of a quoted include on the line ("core" for `#include "core/records/Device.h"`);
    // empty when the line is no such include.
    std::string includedFolder(const std::string& line)
    {
        size_t hash = line.find_first_not_of(" \t");
        if (hash == std::string::npos || line[hash] != '#')
            return {};
        size_t directive = line.find_first_not_of(" \t", hash + 1);
        if (directive == std::string::npos || line.compare(directive, 7, "include") != 0)
            return {};
        size_t quote = line.find_first_not_of(" \t", directive + 7);
        if (quote == std::string::npos || line[quote] != '"')
            return {};
        size_t end = line.find('"', quote + 1);
        size_t slash = line.find('/', quote + 1);
        if (end == std::string::npos || slash == std::string::npos || slash > end)
            return {};
        return line.substr(quote + 1, slash - quote - 1);
    }

    bool isSource(const std::filesystem::path& path)
    {
        auto extension = path.extension();
        return extension == ".h" || extension == ".cpp";
    }

} // namespace

std::string LayeringViolation::describe() const
{
    return file.string() + ":" + std::to_string(line) + ": " + library + " may not include " + included
        + " (not among its declared dependencies)";
}

LayeringCheck LayeringCheck::read(const std::filesystem::path& root)
{
    LayeringCheck check;
    check.m_root = root;
    for (const char* top : { "platform", "src", "tools", "app" }) {
        std::error_code error;
        if (!std::filesystem::is_directory(root / top, error))
            continue;
        if (std::filesystem::exists(root / top / "CMakeLists.txt"))
            check.readLibrary(root / top / "CMakeLists.txt");
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root / top, error)) {
            if (entry.path().filename() == "CMakeLists.txt" && entry.path().parent_path() != root / top)
                check.readLibrary(entry.path());
        }
    }
    return check;
}

void LayeringCheck::readLibrary(const std::filesystem::path& cmakeFile)
{
    std::vector<std::string> arguments = libraryArguments(readFile(cmakeFile));
    if (arguments.empty())
        return;
    const std::string& name = arguments.front();
    std::vector<std::string> deps;
    bool inDeps = false;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "DEPS" || word == "PKG" || word == "LIBS")
            inDeps = word == "DEPS";
        else if (inDeps)
            deps.push_back(word);
    }
    auto folder = cmakeFile.parent_path();
    m_libraryOfFolder[std::filesystem::relative(folder, m_root)] = name;
    m_libraryOfPrefix[folder.filename().string()] = name;
    m_deps[name] = std::move(deps);
}

std::set<std::string> LayeringCheck::allowed(const std::string& library) const
{
    std::set<std::string> reached { library };
    std::vector<std::string> pending { library };
    while (!pending.empty()) {
        std::string next = std::move(pending.back());
        pending.pop_back();
        auto found = m_deps.find(next);
        if (found == m_deps.end())
            continue;
        for (const std::string& dep : found->second) {
            if (reached.insert(dep).second)
                pending.push_back(dep);
        }
    }
    return reached;
}

std::vector<LayeringViolation> LayeringCheck::violations() const
{
    std::vector<LayeringViolation> out;
    for (const auto& [folder, library] : m_libraryOfFolder) {
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_root / folder, error)) {
            if (!entry.is_regular_file() || !isSource(entry.path()))
                continue;
            // A sub-folder that is a library of its own is checked as that library.
            auto owner = std::filesystem::relative(entry.path().parent_path(), m_root);
            while (!m_libraryOfFolder.contains(owner))
                owner = owner.parent_path();
            if (owner == folder)
                checkFile(entry.path(), library, out);
        }
    }
    return out;
}

void LayeringCheck::checkFile(
    const std::filesystem::path& file, const std::string& library, std::vector<LayeringViolation>& out) const
{
    std::set<std::string> permitted = allowed(library);
    std::ifstream in(file);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        std::string folder = includedFolder(line);
        if (folder.empty())
            continue;
        auto target = m_libraryOfPrefix.find(folder);
        if (target != m_libraryOfPrefix.end() && !permitted.contains(target->second))
            out.push_back({ std::filesystem::relative(file, m_root), number, library, target->second });
    }
}

} // namespace test
