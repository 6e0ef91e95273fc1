// Draws one complete frame into the back buffer; the window procedure swaps afterwards.
#pragma once

void RenderFrame();
