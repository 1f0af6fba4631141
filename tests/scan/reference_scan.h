#pragma once

#include "form/form1.h"
#include "renderer/headless_card.h"

namespace card::testing {

// The per-position procedures written statement by statement on the window's dynamically typed
// state variables, with statement skipping: the plain version of the typed scan. Tests render cards
// both ways and require the same pixels and the same state afterwards.
void ReferencePolarPosition(Form1& f);
void ReferenceShapeValue(Form1& f);
void ReferenceChannelMix(Form1& f);
void ReferenceColourIndex(Form1& f);
void ReferencePlotPixel(Form1& f, Surface& picture);

// The whole scan in the reference form, without event processing.
void ReferenceScanImage(Form1& f, Surface& picture);

// The picture MakeCard gives for `request`, greeting included, made with the reference scan: what
// a card looked like before a change of the typed scans.
PixelBuffer ReferenceCardPicture(const CardRequest& request);

}  // namespace card::testing
