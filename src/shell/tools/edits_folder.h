#pragma once

#include <QString>

namespace qb {

class AppSettings;
class RosterDocument;

// Where the file dialogs of patches and edits files start: the folder a patch was last
// saved in, else the folder of the roster they are for (never the folder the program
// happened to start in).
QString editsFolder(const AppSettings& settings, const RosterDocument& document);

} // namespace qb
