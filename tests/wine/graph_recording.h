#pragma once
// What a drawing did, read back from an enhanced metafile it was drawn into: the fonts it made,
// the texts it wrote and the pen's moves and lines, in order, in the coordinates it drew at.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tollwick {

struct GraphRecording {
  std::vector<LOGFONTW> fonts;
  std::vector<std::string> texts;
  std::vector<POINT> textPoints;
  // Each MoveToEx and LineTo: 'm' or 'l' and the point.
  std::vector<std::pair<char, POINT>> pen;
};

inline int CALLBACK RecordGraphRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int,
                                      LPARAM data) {
  auto& out = *reinterpret_cast<GraphRecording*>(data);
  switch (record->iType) {
    case EMR_EXTCREATEFONTINDIRECTW:
      out.fonts.push_back(
          reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record)->elfw.elfLogFont);
      break;
    case EMR_EXTTEXTOUTW: {
      const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
      const auto* chars = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(record) +
                                                         text->emrtext.offString);
      std::string narrow;
      for (DWORD i = 0; i < text->emrtext.nChars; ++i) narrow += static_cast<char>(chars[i]);
      out.texts.push_back(narrow);
      out.textPoints.push_back({text->emrtext.ptlReference.x, text->emrtext.ptlReference.y});
      break;
    }
    case EMR_EXTTEXTOUTA: {
      const auto* text = reinterpret_cast<const EMREXTTEXTOUTA*>(record);
      const char* chars = reinterpret_cast<const char*>(record) + text->emrtext.offString;
      out.texts.emplace_back(chars, text->emrtext.nChars);
      out.textPoints.push_back({text->emrtext.ptlReference.x, text->emrtext.ptlReference.y});
      break;
    }
    case EMR_MOVETOEX: {
      const POINTL p = reinterpret_cast<const EMRMOVETOEX*>(record)->ptl;
      out.pen.push_back({'m', POINT{p.x, p.y}});
      break;
    }
    case EMR_LINETO: {
      const POINTL p = reinterpret_cast<const EMRLINETO*>(record)->ptl;
      out.pen.push_back({'l', POINT{p.x, p.y}});
      break;
    }
    default:
      break;
  }
  return 1;
}

// Runs draw on a metafile DC whose reference is the screen, and reads back what it did.
inline GraphRecording RecordDrawing(const std::function<void(HDC)>& draw) {
  GraphRecording recording;
  HDC metafile = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
  if (metafile == nullptr) return recording;
  draw(metafile);
  HENHMETAFILE done = CloseEnhMetaFile(metafile);
  EnumEnhMetaFile(nullptr, done, RecordGraphRecord, &recording, nullptr);
  DeleteEnhMetaFile(done);
  return recording;
}

}  // namespace tollwick
