// File dialog filters: the original's "Name (*.a;*.b)|*.a;*.b|...||" pairs of shown name and
// patterns become Qt's name filters "Name (*.a *.b)".
#pragma once

#include <QStringList>

#include <string_view>

namespace fw {

// One Qt filter per pair, up to the first empty name or pattern list (the "||" that ends the
// list). The shown name loses a trailing "(...)" of its own and gets the pair's patterns in its
// place, separated by blanks; "*.*" (every file on the original platform) becomes "*". A name
// whose patterns are only blanks and semicolons adds nothing.
QStringList ConvertFileFilter(std::string_view filter);

} // namespace fw
