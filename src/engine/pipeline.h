#pragma once
namespace vantor {
// Converts State().CurrentInput into a DDS file with mipmaps. True when the
// file now stands at State().OutputPath; false leaves any existing output
// as it was and no temporary file behind.
[[nodiscard]] bool ConvertCurrentFile();
}  // namespace vantor
