#include "core/report/OutputNames.h"

#include <algorithm>
#include <cctype>

namespace dorvan {

std::string_view fileNameOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view baseNameOf(std::string_view path)
{
    const std::string_view name = fileNameOf(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string suffixOf(std::string_view path)
{
    const std::string_view name = fileNameOf(path);
    const std::size_t dot = name.rfind('.');
    std::string suffix(dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1));
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return suffix;
}

std::string proposedOutputName(
    std::string_view projectFile, std::string_view fallback, std::string_view extension)
{
    const std::string_view base = baseNameOf(projectFile);
    return std::string(base.empty() ? fallback : base) + std::string(extension);
}

std::string proposedExportName(std::string_view projectFile, bool hasReference)
{
    return proposedOutputName(projectFile, "Vysledok", hasReference ? ".geojson" : ".csv");
}

ExportTarget exportTarget(std::string_view chosen, bool hasReference)
{
    ExportTarget target { std::string(chosen), hasReference, false };
    const std::string suffix = suffixOf(chosen);
    if (suffix == "csv")
        target.geoJson = false;
    else if (suffix == "geojson" || suffix == "json")
        target.geoJson = true;
    else
        target.fileName += hasReference ? ".geojson" : ".csv";
    target.refused = target.geoJson && !hasReference;
    return target;
}

std::string withPdfExtension(std::string_view chosen)
{
    std::string name(chosen);
    if (suffixOf(chosen) != "pdf")
        name += ".pdf";
    return name;
}

std::string printJobFileName(std::string_view chosen, int job)
{
    if (chosen.empty() || job <= 1)
        return std::string(chosen);
    const std::size_t slash = chosen.rfind('/');
    std::string folder
        = slash == std::string_view::npos ? std::string(".") : std::string(chosen.substr(0, slash));
    if (slash == 0)
        folder.clear(); // a name right under the root: "/x.pdf" -> "/x-2.pdf"
    const std::string_view name = fileNameOf(chosen);
    const std::size_t dot = name.rfind('.');
    std::string file = folder + "/" + std::string(baseNameOf(chosen)) + "-" + std::to_string(job);
    if (dot != std::string_view::npos && dot + 1 < name.size())
        file += "." + std::string(name.substr(dot + 1));
    return file;
}

} // namespace dorvan
