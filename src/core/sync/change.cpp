#include "core/sync/change.h"

namespace kovara::core {

bool keepsEveryValue(EntityKind kind, const std::string& field)
{
    return (kind == EntityKind::Prayer || kind == EntityKind::Note) && field == "text";
}

} // namespace kovara::core
