// Creates a form and its components from a layout file in ini syntax.
//
// The first section, [Form], gives the window: Caption, ClientWidth,
// ClientHeight, Font, Color. Every further section is a component, created
// in file order, which is the form's component order; its control ID is its
// 1-based place in that order. Keys of a component section:
//   Kind       Image, Bevel, RadioGroup, BitBtn, GroupBox, CheckBox, Memo, SkinManager
//   Parent     name of an earlier control; empty for the window
//   Bounds     left, top, width, height, in the parent's client pixels
//   Caption    the built-in caption (read whole)
//   Items      radio items, comma-separated
//   ItemIndex, Checked, Default, Enabled, Visible, TabOrder
//   Font       name, height, Bold or Regular
//   Color, FontColor   R, G, B
//   Picture    an embedded bitmap's path
//   OnClick    the name of a handler in the table given
//   Skins, ActiveSkin  the embedded skin files of a skin manager, the active one
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "Component.h"

class TForm;

using THandlerTable = std::map<std::string, TNotifyEvent>;

// Raises EArgumentException on a layout it cannot build (an unknown kind,
// parent, handler or resource).
void CreateFromLayout(TForm& form, const std::uint8_t* bytes, std::size_t count, const THandlerTable& handlers);
