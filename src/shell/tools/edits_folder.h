#pragma once

#include <QString>
#include <string>

namespace qb {

class AppSettings;
class RosterDocument;

// Where a file dialog for files that go with a roster starts: the folder such a file was
// last saved in or taken from, while it exists, else the roster's own folder (never the
// folder the program happened to start in, which from the Start menu is where it is
// installed).
QString startFolder(const QString& lastUsed, const std::string& rosterPath);

// The start for patches and edits files.
QString editsFolder(const AppSettings& settings, const RosterDocument& document);

} // namespace qb
