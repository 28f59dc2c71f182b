#pragma once

// The names of what the program writes besides projects: the result export, the report and a
// printer's output file. The path rules follow the file dialogs' view of a name: the suffix is
// what follows the last dot of the file name, the base name what precedes it.

#include <string>
#include <string_view>

namespace dorvan {

// The file name part of a path (after the last '/').
std::string_view fileNameOf(std::string_view path);
// The file name without its last suffix ("a.b.csv" -> "a.b"; "Novy" -> "Novy").
std::string_view baseNameOf(std::string_view path);
// The last suffix in lower case, without its dot ("x.GeoJSON" -> "geojson"; none -> "").
std::string suffixOf(std::string_view path);

// What a dialog proposes: the project file's base name, or the fallback for a project without
// a file, with the extension (".pdf").
std::string proposedOutputName(
    std::string_view projectFile, std::string_view fallback, std::string_view extension);

// Where "Exportovať výsledok ..." writes and in which format: a name ending in .csv is CSV, one
// ending in .geojson or .json GeoJSON; any other name gets the format the project suggests
// (GeoJSON with a coordinate reference, CSV without) and its extension appended. GeoJSON needs a
// reference: without one, `refused` is set.
struct ExportTarget {
    std::string fileName;
    bool geoJson = false;
    bool refused = false;
};
ExportTarget exportTarget(std::string_view chosen, bool hasReference);
// The name proposed for the export.
std::string proposedExportName(std::string_view projectFile, bool hasReference);

// A report's file name: ".pdf" appended unless the name ends in it (any case).
std::string withPdfExtension(std::string_view chosen);

// Printing several windows into a file: job 1 writes the chosen name, job n > 1 the name with
// "-n" before its suffix, in the same folder ("." when the name has none).
std::string printJobFileName(std::string_view chosen, int job);

} // namespace dorvan
