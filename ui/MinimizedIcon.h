#pragma once

// Where a minimized window draws its icon so that it is centred in the client area. The division truncates
// toward zero, so an icon larger than the area is placed half a pixel toward the lower right.
struct IconOrigin
{
    int x;
    int y;
    friend bool operator==(const IconOrigin&, const IconOrigin&) = default;
};

constexpr IconOrigin CentredIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight)
{
    return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}
