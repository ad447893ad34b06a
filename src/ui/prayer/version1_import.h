#pragma once
// Takes over the data of the program's previous major version, offered once
// on the first idle moment of a first run.
namespace kovara::ui {

class Shell;

// Looks for version-1 data and, when there is some, offers to import it.
// Asks the user nothing when there is nothing to import. Raises on failure.
void ImportVersion1Data(Shell& shell);

} // namespace kovara::ui
