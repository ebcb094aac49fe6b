#include "zip/ZipMasks.h"

namespace {

// Matches the set starting at Mask[i] ('<') against C; i moves past '>'.
// A set without its closing '>' never matches.
bool MatchSet(const String& Mask, qsizetype& i, QChar C) {
  qsizetype k = i + 1;
  bool negate = false;
  if (k < Mask.size() && (Mask[k] == u'!' || Mask[k] == u'^')) {
    negate = true;
    ++k;
  }
  bool found = false;
  while (k < Mask.size() && Mask[k] != u'>') {
    if (k + 2 < Mask.size() && Mask[k + 1] == u'-' && Mask[k + 2] != u'>') {
      if (Mask[k] <= C && C <= Mask[k + 2]) found = true;
      k += 3;
    } else {
      if (Mask[k] == C) found = true;
      ++k;
    }
  }
  if (k >= Mask.size()) return false;
  i = k + 1;
  return found != negate;
}

bool MatchFrom(const String& Mask, qsizetype i, const String& Name, qsizetype j) {
  for (;;) {
    if (i == Mask.size()) return j == Name.size();
    if (j == Name.size()) return Mask.size() - i == 1 && Mask[i] == u'*';
    const QChar c = Mask[i];
    if (c == u'*') {
      ++i;
      // A run of '*' and '?' after the star: each '?' takes one character,
      // and taking the whole name that way is no match.
      while (i < Mask.size() && (Mask[i] == u'*' || Mask[i] == u'?')) {
        if (Mask[i] == u'?') ++j;
        ++i;
      }
      if (j >= Name.size()) return false;
      if (i == Mask.size()) return true;
      for (qsizetype k = j; k < Name.size(); ++k)
        if (MatchFrom(Mask, i, Name, k)) return true;
      return false;
    }
    if (c == u'?') {
      ++i;
    } else if (c == u'<') {
      if (!MatchSet(Mask, i, Name[j])) return false;
    } else {
      if (c != Name[j]) return false;
      ++i;
    }
    ++j;
  }
}

}  // namespace

bool MatchesMask(const String& Mask, const String& Name) {
  if (Mask == QStringLiteral("*")) return true;
  return MatchFrom(Mask.toLower(), 0, Name.toLower(), 0);
}

bool IsWildcardName(const String& Text) {
  for (QChar c : Text)
    if (c == u'*' || c == u'?' || c == u'<' || c == u'>' || c == u'|') return true;
  return false;
}
