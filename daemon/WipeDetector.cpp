#include "daemon/WipeDetector.h"

CWipeDetector::CWipeDetector(int left, int right, DWORD allowedMs)
    : m_left(left), m_right(right), m_allowedMs(allowedMs)
{
}

CWipeDetector::Edge CWipeDetector::EdgeAt(int x) const
{
    if (x <= m_left + kEdgeMargin)
        return Edge::left;
    if (x >= m_right - kEdgeMargin)
        return Edge::right;
    return Edge::none;
}

bool CWipeDetector::OnPointer(int x, DWORD nowMs)
{
    Edge edge = EdgeAt(x);
    if (edge == Edge::none)
        return false;
    // Unsigned difference: right across the wrap of the tick count as well.
    bool wiped = m_lastEdge != Edge::none && edge != m_lastEdge && nowMs - m_lastEdgeMs <= m_allowedMs;
    m_lastEdge = edge;
    m_lastEdgeMs = nowMs;
    return wiped;
}
