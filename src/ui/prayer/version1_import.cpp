#include "ui/prayer/version1_import.h"

#include "ui/shell.h"

namespace kovara::ui {

void ImportVersion1Data(Shell&)
{
    // TODO: read prayeritems.udt, prayerdetails.udt and plan.udt from the
    // version-1 folder once the reader is in; until then there is never
    // anything to import.
}

} // namespace kovara::ui
