#pragma once

#include "lattix/model/AbstractEnum.h"
#include "lattix/model/ImageList.h"

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Lattix {

// The enumeration that an application builds from text: one line per value, the first
// line value 0. The handle owns one counted reference to its internal enumeration;
// copies of the handle share it, and users that outlive the handle take references of
// their own (CEnumRef).
class CEnum
{
public:
    class CInternalEnum final : public CAbstractEnum
    {
    public:
        void AddRef() override;
        void Release() override;
        const CEnumItem& Lookup(int value) override;
        int Compare(int a, int b) override;
        void FillTable(CTableInterface& table) override;

        // Appends an entry. A value, image or order of -1 is replaced by 0 for the first
        // entry, else by the same field of the last entry plus 1.
        void AddEntry(int value, std::string text, std::string tip = {}, int image = -1,
                      int order = -1);
        // Replace the images by those cut from a strip of images imageWidth pixels wide
        // (CImageList::Load); maskColor is the colour word that becomes transparent, or
        // CImageList::kNoMask. Entry i shows image i unless it was given another index.
        // Earlier images are dropped also when the new strip gives none. True when the
        // enumeration has images afterwards.
        bool LoadImages(const QImage& strip, int imageWidth,
                        ColorWord maskColor = CImageList::kNoMask);
        // The strip from an image file or a resource (":/...").
        bool LoadImages(const QString& path, int imageWidth,
                        ColorWord maskColor = CImageList::kNoMask);
        // The strip from the numbered bitmap resource: the resource ":/bitmap/<id>" (give
        // the image that alias in the resource collection). Id 0 stands for no images.
        bool LoadImages(unsigned bitmapId, int imageWidth, ColorWord maskColor);

        // The entries in their current order: insertion order, or ascending value once a
        // lookup in more than kLinearLookupMax entries has sorted them.
        const std::vector<CEnumEntry>& GetEntries() const { return m_entries; }
        const CEnumItem& GetDefault() const { return m_default; }
        bool IsSorted() const { return m_bSorted; }
        int GetRefCount() const { return m_nRefs; }

        // Up to this many entries are searched from the start; more are sorted by value
        // once and then searched by halving.
        static constexpr std::size_t kLinearLookupMax = 10;

    private:
        friend class CEnum;
        CInternalEnum() = default;
        ~CInternalEnum() override = default;

        std::vector<CEnumEntry> m_entries;
        CEnumItem m_default{"#Error#", "#Error#", -1, 0};
        bool m_bSorted = false;
        int m_nRefs = 0;
    };

    // Splits text at every line feed (a carriage return stays part of its line); every
    // piece, the one after a final line feed included, becomes an entry with the next
    // value, automatic image and order and no tooltip. A bitmapId other than 0 loads the
    // images of that numbered bitmap resource (LoadImages); 0 means no images.
    explicit CEnum(std::string_view text, unsigned bitmapId = 0, int imageWidth = 16,
                   ColorWord maskColor = CImageList::kNoMask);
    // The same with the images cut from strip, entry i showing image i.
    CEnum(std::string_view text, const QImage& strip, int imageWidth = 16,
          ColorWord maskColor = CImageList::kNoMask);
    CEnum(const CEnum& other);
    CEnum& operator=(const CEnum& other);
    ~CEnum();

    CInternalEnum* Get() const { return m_pEnum; }
    CInternalEnum* operator->() const { return m_pEnum; }
    CInternalEnum& operator*() const { return *m_pEnum; }

private:
    struct EntriesOnly
    {
    };
    // Creates the enumeration with the entries of text; the constructors above delegate
    // to it, so that the handle releases the enumeration when loading images throws.
    CEnum(std::string_view text, EntriesOnly);

    CInternalEnum* m_pEnum;
};

} // namespace Lattix
