#include "WindowPlacement.h"

#include <cwchar>
#include <vector>

namespace
{
// Coordinates far beyond any desktop are no place a window was.
constexpr long kFarthest = 1000000;

std::vector<std::wstring_view> Fields(std::wstring_view text)
{
    std::vector<std::wstring_view> fields;
    for (std::size_t start = 0;;)
    {
        const std::size_t comma = text.find(L',', start);
        fields.push_back(text.substr(start, comma == std::wstring_view::npos ? comma : comma - start));
        if (comma == std::wstring_view::npos)
            return fields;
        start = comma + 1;
    }
}

std::optional<long> Number(std::wstring_view field)
{
    const std::wstring text(field);
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    wchar_t* end = nullptr;
    const long value = std::wcstol(text.c_str(), &end, 10);
    if (*end != L'\0' || value < -kFarthest || value > kFarthest)
        return std::nullopt;
    return value;
}
} // namespace

std::wstring PlacementText(const SavedPlacement& placement)
{
    return std::to_wstring(placement.left) + L"," + std::to_wstring(placement.top) + L"," +
           std::to_wstring(placement.right) + L"," + std::to_wstring(placement.bottom) + L"," +
           std::to_wstring(placement.dpi) + (placement.maximized ? L",maximized" : L",normal");
}

std::optional<SavedPlacement> PlacementFromText(std::wstring_view text)
{
    const std::vector<std::wstring_view> fields = Fields(text);
    if (fields.size() != 6 || (fields[5] != L"normal" && fields[5] != L"maximized"))
        return std::nullopt;
    long numbers[5] = {};
    for (std::size_t i = 0; i < 5; ++i)
    {
        const std::optional<long> number = Number(fields[i]);
        if (!number)
            return std::nullopt;
        numbers[i] = *number;
    }
    const auto [left, top, right, bottom, dpi] = numbers;
    if (right <= left || bottom <= top || dpi <= 0)
        return std::nullopt;
    return SavedPlacement{left, top, right, bottom, static_cast<unsigned>(dpi), fields[5] == L"maximized"};
}
