// TJPEGImage: the JPEG form of a bitmap, compressed with libjpeg.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "core/Exception.h"
#include "core/Stream.h"
#include "imaging/Bitmap.h"
#include "imaging/Graphic.h"

// A libjpeg failure; the message is "JPEG error #<library message code>".
class EJPEG : public Exception {
public:
    using Exception::Exception;
};

// The compressed form, shared by the images assigned from one another.
class TJPEGData {
public:
    std::unique_ptr<TMemoryStream> bytes; // none until compressed
    int width = 0;
    int height = 0;
    bool gray = false; // a grayscale JPEG was written
};

// Values every new TJPEGImage starts with. Written only at start-up.
struct TJPEGDefaults {
    uint8_t CompressionQuality = 90;
    bool Grayscale = false;
    bool ProgressiveEncoding = false;
    bool Smoothing = true;
    int PixelFormat = 0; // DecodeDepth: 0 = 24 bits, 1 = 8 bits
    int Performance = 0; // DecodeSpeed: 0 = best quality
    int Scale = 0;       // DecodeScale: 0 = full size
    bool ProgressiveDisplay = false;
};

extern TJPEGDefaults JPEGDefaults;

// Chooses the default decode depth for a screen of this many bits per pixel
// (times planes): 24 bits above 8, else 8 bits.
void SetJPEGDefaultDecodeDepth(int screenBitsPerPixel);

class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    TJPEGImage(const TJPEGImage&) = delete;
    TJPEGImage& operator=(const TJPEGImage&) = delete;

    const char* ClassName() const override { return "TJPEGImage"; }
    int Width() const override;
    int Height() const override;
    // A JPEG image cannot be resized: both raise EInvalidGraphicOperation.
    void SetWidth(int value) override;
    void SetHeight(int value) override;

    // From a TBitmap: drops the compressed data and keeps a bitmap sharing the
    // source's pixels. From a TJPEGImage: shares its compressed data and
    // copies its bitmap. The settings are left as they are.
    void Assign(const TGraphic& source) override;
    // Compresses when there are no compressed bytes yet, then writes them all
    // in one write. Compressed bytes are reused by later saves, even when a
    // setting has changed since; Compress() makes them anew.
    void SaveToStream(TStream& stream) const override;

    uint8_t Quality() const { return quality_; }
    void SetQuality(uint8_t value) { quality_ = value; }
    bool GrayOutput() const { return grayOutput_; }
    void SetGrayOutput(bool value) { grayOutput_ = value; }
    bool ProgressiveOutput() const { return progressiveOutput_; }
    void SetProgressiveOutput(bool value) { progressiveOutput_ = value; }

    // Decoding settings, kept for the decoder.
    bool SmoothDecode() const { return smoothDecode_; }
    void SetSmoothDecode(bool value) { smoothDecode_ = value; }
    int DecodeDepth() const { return decodeDepth_; }
    void SetDecodeDepth(int value) { decodeDepth_ = value; }
    int DecodeSpeed() const { return decodeSpeed_; }
    void SetDecodeSpeed(int value) { decodeSpeed_ = value; }
    int DecodeScale() const { return decodeScale_; }
    void SetDecodeScale(int value) { decodeScale_ = value; }
    bool ProgressiveRedraw() const { return progressiveRedraw_; }
    void SetProgressiveRedraw(bool value) { progressiveRedraw_ = value; }

    // Compresses the bitmap now with the current settings.
    void Compress();
    // The compressed bytes, or nullptr when there are none.
    const TMemoryStream* Data() const { return data_->bytes.get(); }
    bool GrayData() const { return data_->gray; }

    // Told 0 when compression starts, then how far it has got, and at the
    // end 100 after success or 0 after a failure. Throwing EAbort stops the
    // compression quietly and leaves no compressed bytes.
    std::function<void(int percent)> OnProgress;

private:
    void CompressBitmap() const;

    // Replaced by a const save that compresses.
    mutable std::shared_ptr<TJPEGData> data_;
    std::unique_ptr<TBitmap> bitmap_;
    uint8_t quality_;
    bool grayOutput_;
    bool progressiveOutput_;
    bool smoothDecode_;
    int decodeDepth_;
    int decodeSpeed_;
    int decodeScale_;
    bool progressiveRedraw_;
};
