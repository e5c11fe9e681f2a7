// The picture of one item: JPEG bytes from the item's record, decoded through a temporary file
// into a 24-bit bottom-up DIB section that the windows draw. By default it is decoded at once
// and at full size; a request may ask for a reduced decode for the box it is drawn in, and for
// the decode to be left to DecodePending (on any thread) and FinishDecode (on the window
// thread), so that several pictures can be decoded at the same time, or one ahead of being
// shown.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "data/ArchiveReader.h"
#include "framework/core/Geometry.h"
#include "framework/core/StringArray.h"
#include "framework/gdi/GdiObject.h"

class CBitmapData;

struct PICTURE_REQUEST {
    // The client size of the window the picture is drawn in, shrunk to fit: the bitmap is
    // decoded at the smallest scale whose output still covers the picture as drawn there, in
    // the screen's pixels (the screen scale times this box). (0, 0): full size.
    CSize sizeBox;
    // Serialize keeps the bytes and leaves the decode to DecodePending and FinishDecode.
    BOOL bDeferDecode = FALSE;
    // With bDeferDecode: the picture is decoded before anyone knows it will be shown.
    // DecodePending reads the bytes in memory and makes no temporary file; FinishDecode, once
    // the picture is shown, makes it and tells what the decode met, as a decode at that moment
    // would have.
    BOOL bAhead = FALSE;
    // Above 1: the picture may be decoded on that many threads (see JPEG_DECODE_REQUEST).
    int nDecodeThreads = 1;
};

class CItemPicture : public CBitmap {
public:
    CItemPicture();
    ~CItemPicture() override;

    // Set before Serialize; the default decodes at once, at full size.
    void SetRequest(const PICTURE_REQUEST& request) { m_request = request; }
    // Reads the picture record (presence flag, byte count, bytes) and decodes the picture,
    // unless the request defers the decode.
    virtual void Serialize(CArchiveReader& ar);
    // Writes the bytes to a new temporary file and decodes it. Without a bitmap afterwards
    // when the picture cannot be decoded (the reason is on stderr or shown to the user).
    void Decode(const BYTE* bytes, DWORD n);

    // Whether the request leaves the decode to DecodePending and FinishDecode.
    BOOL IsDecodeDeferred() const { return m_request.bDeferDecode; }
    // TRUE from a deferred Serialize that read a picture until FinishDecode.
    BOOL IsDecodePending() const { return m_bPending; }
    // The deferred decode: safe on any thread, touches no window and no GDI handle. Several
    // pictures may decode at the same time; one picture on one thread only.
    void DecodePending();
    // On the window thread, after DecodePending: attaches the bitmap and shows what failed.
    void FinishDecode();
    // From any thread: a running DecodePending stops at its next row and gives no bitmap.
    void CancelDecode() { m_bCancel = true; }
    // After DecodePending and before FinishDecode: whether it gave a bitmap.
    BOOL IsDecoded() const { return m_pDecoded != nullptr; }

    // The picture's own width and height as stored, whatever scale the bitmap was decoded at;
    // (0, 0) before a decode read them. Placement is computed from these.
    CSize GetFullSize() const { return m_sizeFull; }

    const CStringArray& GetTempFiles() const { return m_tempFiles; }

    // Pictures whose rows would take more bytes than this are refused before decoding. The
    // default is 1 GiB, or the machine's memory when that is smaller.
    static void SetMaxPixelBytes(ULONGLONG nBytes);
    static ULONGLONG GetMaxPixelBytes();

private:
    enum FAILURE { FAILED_NOTHING, FAILED_TEMP_PATH, FAILED_TEMP_WRITE };

    BOOL MakeTempFile(CString& path);
    // Makes the temporary file and writes the bytes to it; FALSE, with what failed kept for
    // FinishDecode, when it cannot.
    BOOL WriteTempFile(const BYTE* bytes, DWORD n, CString& path);
    // Decodes the temporary file into m_pDecoded without showing anything; what failed is kept
    // for FinishDecode.
    void DecodeFile(const CString& path);
    // The decode itself, from the file when there is one, else from the bytes.
    void DecodeRows(FILE* fp, const BYTE* bytes, size_t n);

    CStringArray m_tempFiles;
    PICTURE_REQUEST m_request;
    CSize m_sizeFull;
    BOOL m_bPending = FALSE;
    std::vector<BYTE> m_pendingBytes;
    std::unique_ptr<CBitmapData> m_pDecoded;
    std::atomic<bool> m_bCancel{false};
    std::string m_strMessages; // the decoder's, told by FinishDecode
    FAILURE m_failure = FAILED_NOTHING;
    CString m_strFailedPath;
    int m_nFailedErrno = 0;
};
