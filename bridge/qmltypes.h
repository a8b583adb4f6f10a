#pragma once

// Native helpers the screens import as a QML module, so rules that the
// native side already implements have a single implementation:
//   import Quill.Native 1.0
//   MacroImageCodec.encode(rows, repeat), MacroImageCodec.encodedSize(rows)
namespace qmltypes {

constexpr const char *Uri = "Quill.Native";
constexpr int VersionMajor = 1;
constexpr int VersionMinor = 0;

// Registers the module's types; call before the first QML file loads.
// Calling it again does nothing.
void registerTypes();

} // namespace qmltypes
