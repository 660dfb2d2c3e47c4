#include "DynamicLayout.h"

#include <algorithm>

LayoutRect FollowDialogSize(const LayoutRect& templateRect, const ControlAnchor& anchor, long extraWidth,
                            long extraHeight)
{
    const long width = std::max(extraWidth, 0L);
    const long height = std::max(extraHeight, 0L);
    return {templateRect.left + width * anchor.left / 2, templateRect.top + height * anchor.top / 2,
            templateRect.right + width * anchor.right / 2, templateRect.bottom + height * anchor.bottom / 2};
}
