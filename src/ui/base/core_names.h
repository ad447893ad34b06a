#pragma once
// The UI works with the core's stores, records and rules throughout and names
// them without the namespace; this is the one place that says so.
namespace kovara::core {
}

namespace kovara::ui {
using namespace kovara::core;
} // namespace kovara::ui
