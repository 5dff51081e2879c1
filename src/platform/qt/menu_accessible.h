#pragma once
// Menu bar entries as screen readers and tools see them: like every control,
// each carries its control name ("MenuMain") as its accessible description.

namespace platform::qt {

// Installs the accessibility factory for the entries of the windows' menu
// bars; harmless when called again.
void InstallMenuAccessibility();

}  // namespace platform::qt
