#pragma once

#include <windows.h>

// Tells a screen wipe from ordinary pointer movement: the pointer goes from
// within a few pixels of one edge of the virtual screen (all monitors) to
// within a few pixels of the other, in either direction, within the allowed
// time. The time is given with each position, so no clock is needed.
class CWipeDetector {
public:
    static const int kEdgeMargin = 4;

    // left and right are the outermost pixel columns of the virtual screen;
    // allowedMs is the longest a wipe may take.
    CWipeDetector(int left, int right, DWORD allowedMs);

    // Takes one pointer position; true when it completes a wipe. A completed
    // wipe starts afresh from the edge it ended at.
    bool OnPointer(int x, DWORD nowMs);

private:
    enum class Edge { none, left, right };

    Edge EdgeAt(int x) const;

    int m_left;
    int m_right;
    DWORD m_allowedMs;
    // The edge the pointer last touched and when it last touched it: a wipe
    // is timed from the moment it leaves that edge.
    Edge m_lastEdge = Edge::none;
    DWORD m_lastEdgeMs = 0;
};
