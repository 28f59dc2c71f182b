#!/usr/bin/env bash
# Counts the member functions a class declares in its source (constructors, destructor,
# methods, slots, signals and overrides; not the ones Q_OBJECT adds, nor implicit ones), as
# clang parses the header. Usage: scripts/class-methods.sh HEADER CLASS [-v]
#   scripts/class-methods.sh src/ui/main/Dorvan_Hlavny.h TDorvan_Central
set -euo pipefail
cd "$(dirname "$0")/.."
header=$1 class=$2
qt=/usr/include/x86_64-linux-gnu/qt6
echo "#include \"${header#src/}\"" > "${TMPDIR:-/tmp}/class-methods.$$.cpp"
names=$(clang++ -std=c++20 -fsyntax-only -fPIC -Xclang -ast-dump -Xclang -ast-dump-filter -Xclang "$class" \
    -Isrc -isystem "$qt" -isystem "$qt/QtCore" -isystem "$qt/QtGui" -isystem "$qt/QtWidgets" \
    -isystem "$qt/QtPrintSupport" -isystem /usr/include/gdal "${TMPDIR:-/tmp}/class-methods.$$.cpp" 2>/dev/null |
    awk -v cls="$class" '
        /^Dumping / { on = ($2 == cls ":") ; next }
        on && /^\|-(CXXMethodDecl|CXXConstructorDecl|CXXDestructorDecl)/ && !/ implicit / {
            for (i = 1; i <= NF; ++i) if ($i ~ /^'"'"'/) { print $(i - 1); break }
        }' |
    grep -vxE 'metaObject|qt_metacast|qt_metacall|tr|qt_static_metacall' || true)
rm -f "${TMPDIR:-/tmp}/class-methods.$$.cpp"
echo "$class: $(printf '%s\n' "$names" | grep -c .) member functions"
[[ "${3:-}" == -v ]] && printf '%s\n' "$names" | tr '\n' ' ' && echo
exit 0
