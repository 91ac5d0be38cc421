#pragma once
// The capture window's records in their published 32-bit layouts. Callers pass a record with
// the size they mean; the window reads or writes no more than that many bytes.
#include <cstdint>

namespace wren::capture {

struct CAPDRIVERCAPS {
  std::uint32_t wDeviceIndex;
  std::int32_t fHasOverlay;
  std::int32_t fHasDlgVideoSource;
  std::int32_t fHasDlgVideoFormat;
  std::int32_t fHasDlgVideoDisplay;
  std::int32_t fCaptureInitialized;
  std::int32_t fDriverSuppliesPalettes;
  std::uint32_t hVideoIn, hVideoOut, hVideoExtIn, hVideoExtOut;
};
static_assert(sizeof(CAPDRIVERCAPS) == 44);

struct CAPSTATUS {
  std::uint32_t uiImageWidth;
  std::uint32_t uiImageHeight;
  std::int32_t fLiveWindow;
  std::int32_t fOverlayWindow;
  std::int32_t fScale;
  std::int32_t ptScrollX, ptScrollY;
  std::int32_t fUsingDefaultPalette;
  std::int32_t fAudioHardware;
  std::int32_t fCapFileExists;
  std::uint32_t dwCurrentVideoFrame;
  std::uint32_t dwCurrentVideoFramesDropped;
  std::uint32_t dwCurrentWaveSamples;
  std::uint32_t dwCurrentTimeElapsedMS;
  std::uint32_t hPalCurrent;
  std::int32_t fCapturingNow;
  std::uint32_t dwReturn;
  std::uint32_t wNumVideoAllocated;
  std::uint32_t wNumAudioAllocated;
};
static_assert(sizeof(CAPSTATUS) == 76);

struct CAPTUREPARMS {
  std::uint32_t dwRequestMicroSecPerFrame;
  std::int32_t fMakeUserHitOKToCapture;
  std::uint32_t wPercentDropForError;
  std::int32_t fYield;
  std::uint32_t dwIndexSize;
  std::uint32_t wChunkGranularity;
  std::int32_t fUsingDOSMemory;
  std::uint32_t wNumVideoRequested;
  std::int32_t fCaptureAudio;
  std::uint32_t wNumAudioRequested;
  std::uint32_t vKeyAbort;
  std::int32_t fAbortLeftMouse;
  std::int32_t fAbortRightMouse;
  std::int32_t fLimitEnabled;
  std::uint32_t wTimeLimit;
  std::int32_t fMCIControl;
  std::int32_t fStepMCIDevice;
  std::uint32_t dwMCIStartTime;
  std::uint32_t dwMCIStopTime;
  std::int32_t fStepCaptureAt2x;
  std::uint32_t wStepCaptureAverageFrames;
  std::uint32_t dwAudioBufferSize;
  std::int32_t fDisableWriteCache;
  std::uint32_t AVStreamMaster;
};
static_assert(sizeof(CAPTUREPARMS) == 96);

}  // namespace wren::capture
