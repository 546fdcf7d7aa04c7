#pragma once

#include "lattix/model/AbstractEnum.h"
#include "lattix/view/CellOutput.h"

namespace Lattix {

// Renders integer cells through an enumeration: its entry's image and text, text only, or
// image only. The image size is that of the enumeration's images when the renderer is
// made; an enumeration without images (or a mode that is none of the three) is shown as
// text only. A value without an entry shows the enumeration's default entry ("#Error#",
// no image).
class CEnumOut : public CCellOutputCString
{
public:
    enum Mode
    {
        ImageAndText = 0,
        TextOnly = 1,
        ImageOnly = 2,
    };

    CEnumOut(CAbstractEnum* enumeration, int mode, std::uint32_t flags);

    int GetMode() const { return m_nMode; }
    int GetImageWidth() const { return m_nImageWidth; }
    int GetImageHeight() const { return m_nImageHeight; }
    CAbstractEnum* GetEnum() const { return m_pEnum.Get(); }

    // The image at the left, centre or right of rect as the flags align, vertically
    // centred; the text beside it (kImageGap further in for left and right alignment),
    // clipped to the cell. An image index outside the list draws no image.
    void Draw(const QRect& rect, const CCellData& cell, bool selected) override;
    int GetHeight() override;
    int GetMinWidth() override;
    // The widest entry text (at least "W..."), with the image beside it.
    int GetDefaultWidth() override;
    int GetCellWidth(const CCellData& cell) override;
    std::string GetText(const CCellData& cell) override;
    // The entry's tip when it has one; else its text when it is not drawn or does not fit.
    std::string GetToolTip(const CCellData& cell, int availableWidth) override;
    int GetMaxWidth(const CColData& column, int rowCount) override;

    // Space between image and text.
    static constexpr int kImageGap = 5;

private:
    const CEnumItem& Lookup(const CCellData& cell);
    // Width the image takes beside the text (with the gap) in the current mode.
    int ImageExtra() const;

    CEnumRef m_pEnum;
    int m_nMode;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
};

} // namespace Lattix
