#pragma once

// Where the progress block goes on the next tick: one step of 300 twips to
// the right, after going back to the track's left edge once its Left has
// passed the track's Width.
constexpr float BlockStep = 300.0f;

constexpr float nextBlockLeft(float blockLeft, float trackLeft, float trackWidth)
{
    if (blockLeft > trackWidth)
        blockLeft = trackLeft;
    return blockLeft + BlockStep;
}
