// The PSD decoder: reads layered image files with the "8BPS" signature in greyscale, indexed and RGB
// colour at 8 and 16 bits per channel (16-bit samples are reduced to 8). It decodes the merged
// picture and, between Open and DecodeImage, the layers one by one in file order. All numbers in
// the file are big-endian.
#pragma once

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/psd/PsdChannels.h"
#include "imaging/psd/PsdFile.h"

class PLPSDDecoder : public PLPicDecoder {
public:
    PLPSDDecoder();
    ~PLPSDDecoder() override;

    void Open(PLDataSource* pDataSrc) override;
    void DecodeImage(PLBmp* pBmp) override;
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Psd; }

    int GetNumLayers() const { return static_cast<int>(m_Layers.size()); }
    // Creates the bitmap with the next layer's size and fills it from the layer's channels: its
    // colour channels and its transparency, found by their ids; masks are skipped. A failure closes
    // the decoder and passes on.
    void GetNextLayer(PLBmp& bmp);
    // The size of the layer GetNextLayer decodes next ((0, 0) when none is left, saturated when the
    // rectangle is beyond 32 bits), so that a caller can pass over layers too large for it.
    PLCoord GetNextLayerSize() const;
    // The left and top of the layer decoded last.
    PLCoord GetLayerOffset() const { return m_LayerOffset; }

private:
    void DecodeLayer(PLBmp& bmp);
    void ReadLayerChannel(PLBigEndianReader& reader, const psd::LayerChannel& channel,
        const psd::ChannelFormat& format, PLBmp& bmp);
    psd::Slot SlotOfColour(int component) const;
    psd::Slot SlotOfLayerChannel(int id) const;
    psd::Slot SlotOfMergedChannel(int index) const;
    void SetPalette(PLBmp& bmp) const;
    void ReadMergedRaw(PLBigEndianReader& reader, PLBmp& bmp) const;
    void ReadMergedRle(PLBigEndianReader& reader, PLBmp& bmp) const;
    void FreeLayers();

    psd::Header m_Header;
    psd::Palette m_Palette {};
    int64_t m_LayerSectionStart = 0;
    int64_t m_LayerSectionLength = 0;
    std::vector<psd::Layer> m_Layers;
    size_t m_NextLayer = 0;
    PLCoord m_LayerOffset;
    PLDataSource* m_pSource = nullptr; // the source of the last Open, owned by the caller
};
