#pragma once

#include <QString>

#include <string_view>

// The place-list reader tells what is wrong with a line in English, as the command line shows
// it; the window says the same in Slovak. A text the table does not know is shown as it is.
QString placeListMessageInSlovak(std::string_view message);
