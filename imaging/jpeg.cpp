#include "imaging/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

static_assert(JPEG_LIB_VERSION == 62, "the writer is built for the libjpeg 6b interface");
#ifndef JCS_EXTENSIONS
#error "libjpeg-turbo's extended colour spaces are needed: rows are fed in blue, green, red order"
#endif

TJPEGDefaults JPEGDefaults;

void SetJPEGDefaultDecodeDepth(int screenBitsPerPixel)
{
    JPEGDefaults.PixelFormat = screenBitsPerPixel > 8 ? 0 : 1;
}

// libjpeg is C: its errors and the failures of our callbacks come back to
// the compressing routine through longjmp, never as C++ exceptions crossing
// the library's frames. Everything that must survive the jump lives in one
// CompressJob reached through a reference, outside the frames that are left.

namespace {

const size_t OutputBufferSize = 4096;

struct CompressJob;

struct ErrorManager {
    jpeg_error_mgr pub; // first: libjpeg hands back a pointer to it
    std::jmp_buf jump;
};

struct Destination {
    jpeg_destination_mgr pub;
    CompressJob* job;
    JOCTET buffer[OutputBufferSize];
};

struct ProgressMonitor {
    jpeg_progress_mgr pub;
    CompressJob* job;
};

struct CompressJob {
    jpeg_compress_struct cinfo{};
    ErrorManager error{};
    Destination destination{};
    ProgressMonitor progress{};

    const std::function<void(int)>* observer = nullptr;
    TMemoryStream* stream = nullptr;
    const uint8_t* rows = nullptr; // bottom row first
    size_t stride = 0;
    int components = 3;
    int width = 0;
    int height = 0;
    int quality = 0;
    bool gray = false;
    bool progressive = false;
    int lastPercent = 0;
    std::exception_ptr failure; // raised by a callback, raised again afterwards

    CompressJob()
    {
        destination.job = this;
        progress.job = this;
    }
    CompressJob(const CompressJob&) = delete;
    CompressJob& operator=(const CompressJob&) = delete;
    ~CompressJob() { jpeg_destroy_compress(&cinfo); }

    // These catch everything so that nothing is thrown into libjpeg; a false
    // result tells the caller to leave through the error manager.
    bool Notify(int percent) noexcept
    {
        try {
            if (*observer)
                (*observer)(percent);
            return true;
        } catch (...) {
            failure = std::current_exception();
            return false;
        }
    }

    bool Store(size_t count) noexcept
    {
        try {
            return stream->Write(destination.buffer, count) == count;
        } catch (...) {
            failure = std::current_exception();
            return false;
        }
    }
};

void ErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings and traces are of no interest to the program.
void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}
void FormatNoMessage(j_common_ptr, char* buffer)
{
    buffer[0] = '\0';
}

void ResetErrorManager(j_common_ptr cinfo)
{
    cinfo->err->msg_code = 0;
    cinfo->err->num_warnings = 0;
}

void InitDestination(j_compress_ptr cinfo)
{
    Destination* dest = reinterpret_cast<Destination*>(cinfo->dest);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = OutputBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    Destination* dest = reinterpret_cast<Destination*>(cinfo->dest);
    if (!dest->job->Store(OutputBufferSize))
        ERREXIT(cinfo, JERR_FILE_WRITE);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = OutputBufferSize;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    Destination* dest = reinterpret_cast<Destination*>(cinfo->dest);
    size_t count = OutputBufferSize - dest->pub.free_in_buffer;
    if (count > 0 && !dest->job->Store(count))
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

void MonitorProgress(j_common_ptr cinfo)
{
    ProgressMonitor* monitor = reinterpret_cast<ProgressMonitor*>(cinfo->progress);
    const jpeg_progress_mgr& p = monitor->pub;
    if (p.pass_limit <= 0 || p.total_passes <= 0)
        return;
    int percent = static_cast<int>((p.completed_passes * 100LL + p.pass_counter * 100LL / p.pass_limit) /
                                   p.total_passes);
    CompressJob* job = monitor->job;
    if (percent == job->lastPercent)
        return;
    job->lastPercent = percent;
    if (!job->Notify(percent))
        (*cinfo->err->error_exit)(cinfo); // the remembered exception replaces the library's code
}

// The two routines below return false when libjpeg reported an error or a
// callback failed. They keep no objects that need destroying, as a longjmp
// may leave them at any call into the library.

bool SetUpCompressor(CompressJob& job)
{
    jpeg_compress_struct& cinfo = job.cinfo;
    ErrorManager& error = job.error;
    error.pub.error_exit = ErrorExit;
    error.pub.emit_message = IgnoreMessage;
    error.pub.output_message = IgnoreOutput;
    error.pub.format_message = FormatNoMessage;
    error.pub.reset_error_mgr = ResetErrorManager;
    error.pub.trace_level = 0;
    error.pub.jpeg_message_table = nullptr;
    cinfo.err = &error.pub;
    if (setjmp(error.jump))
        return false;

    jpeg_CreateCompress(&cinfo, JPEG_LIB_VERSION, sizeof(jpeg_compress_struct));
    job.progress.pub.progress_monitor = MonitorProgress;
    cinfo.progress = &job.progress.pub;
    job.destination.pub.init_destination = InitDestination;
    job.destination.pub.empty_output_buffer = EmptyOutputBuffer;
    job.destination.pub.term_destination = TermDestination;
    cinfo.dest = &job.destination.pub;

    cinfo.image_width = static_cast<JDIMENSION>(job.width);
    cinfo.image_height = static_cast<JDIMENSION>(job.height);
    cinfo.input_components = job.components;
    cinfo.in_color_space = job.components == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    cinfo.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&cinfo, job.quality, TRUE);
    if (job.gray)
        jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    if (job.progressive)
        jpeg_simple_progression(&cinfo);
    return true;
}

bool EncodeRows(CompressJob& job)
{
    jpeg_compress_struct& cinfo = job.cinfo;
    if (setjmp(job.error.jump))
        return false;

    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        // Rows are stored bottom row first; libjpeg only reads them.
        size_t fromBottom = static_cast<size_t>(job.height) - 1 - cinfo.next_scanline;
        JSAMPROW row = const_cast<JSAMPROW>(job.rows + fromBottom * job.stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

} // namespace

TJPEGImage::TJPEGImage()
    : data_(std::make_shared<TJPEGData>()),
      quality_(JPEGDefaults.CompressionQuality),
      grayOutput_(JPEGDefaults.Grayscale),
      progressiveOutput_(JPEGDefaults.ProgressiveEncoding),
      smoothDecode_(JPEGDefaults.Smoothing),
      decodeDepth_(JPEGDefaults.PixelFormat),
      decodeSpeed_(JPEGDefaults.Performance),
      decodeScale_(JPEGDefaults.Scale),
      progressiveRedraw_(JPEGDefaults.ProgressiveDisplay)
{
}

int TJPEGImage::Width() const
{
    return bitmap_ ? bitmap_->Width() : data_->width;
}

int TJPEGImage::Height() const
{
    return bitmap_ ? bitmap_->Height() : data_->height;
}

void TJPEGImage::SetWidth(int)
{
    throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::SetHeight(int)
{
    throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::Assign(const TGraphic& source)
{
    if (const TBitmap* bitmap = dynamic_cast<const TBitmap*>(&source)) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(*bitmap);
        data_ = std::make_shared<TJPEGData>();
        bitmap_ = std::move(copy);
        return;
    }
    if (const TJPEGImage* jpeg = dynamic_cast<const TJPEGImage*>(&source)) {
        if (jpeg == this)
            return;
        std::unique_ptr<TBitmap> copy;
        if (jpeg->bitmap_) {
            copy = std::make_unique<TBitmap>();
            copy->Assign(*jpeg->bitmap_);
        }
        data_ = jpeg->data_;
        bitmap_ = std::move(copy);
        return;
    }
    TGraphic::Assign(source);
}

void TJPEGImage::SaveToStream(TStream& stream) const
{
    if (!data_->bytes)
        CompressBitmap();
    // After an abort there are no bytes and nothing is written.
    if (data_->bytes)
        stream.WriteBuffer(data_->bytes->Data().data(), data_->bytes->Size());
}

void TJPEGImage::Compress()
{
    CompressBitmap();
}

void TJPEGImage::CompressBitmap() const
{
    // Images sharing the old bytes keep them.
    if (data_->bytes)
        data_ = std::make_shared<TJPEGData>();

    const bool empty = !bitmap_ || bitmap_->Width() <= 0 || bitmap_->Height() <= 0;
    std::unique_ptr<TMemoryStream> stream;
    std::exception_ptr failure;
    {
        CompressJob job;
        // Declared after the job: freed before the compression object.
        std::optional<TBitmap> working;
        try {
            stream = std::make_unique<TMemoryStream>();
            if (!empty) {
                working.emplace();
                working->Assign(*bitmap_);
                // 32-bit rows held in memory go to libjpeg as they are;
                // anything else becomes a 24-bit copy first.
                const TDeviceBitmap* own = working->Device();
                if (!(own->DibRows() && own->BitCount() == 32))
                    working->ConvertTo24Bit();
                job.observer = &OnProgress;
                job.stream = stream.get();
                const TDeviceBitmap* rows = working->Device();
                job.rows = rows->DibRows();
                job.components = rows->BitCount() / 8;
                job.stride = static_cast<size_t>(DibStride(rows->Width(), rows->BitCount()));
                job.width = rows->Width();
                job.height = rows->Height();
                job.quality = quality_;
                job.gray = grayOutput_;
                job.progressive = progressiveOutput_;

                bool done = SetUpCompressor(job);
                if (done) {
                    if (OnProgress)
                        OnProgress(0);
                    done = EncodeRows(job);
                }
                if (!done)
                    failure = job.failure ? job.failure
                                          : std::make_exception_ptr(EJPEG(
                                                "JPEG error #" + std::to_string(job.error.pub.msg_code)));
            }
        } catch (...) {
            failure = std::current_exception();
        }
        try {
            if (OnProgress)
                OnProgress(failure ? 0 : 100);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }

    // The bytes reach the data only after success, so a failed or stopped
    // compression leaves none and a later save compresses again.
    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const EAbort&) {
            // A stop asked for by the observer is not an error.
        }
        return;
    }
    data_->bytes = std::move(stream);
    if (!empty) {
        data_->width = bitmap_->Width();
        data_->height = bitmap_->Height();
        data_->gray = grayOutput_;
    }
}
