#include "platform/report/RaveTemplate.h"
#include "platform/rtl/Encodings.h"
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <cmath>
#include <map>

namespace {

// Lengths are inches and font sizes points; nothing printed comes near these, and larger
// numbers would overflow the page's dots.
constexpr double MaxLength = 1000;
constexpr Integer MaxFontSize = 1000;

struct TLine {
  Integer Number = 0;
  Integer Indent = 0;
  String Kind, Name;
  std::vector<std::pair<String, String>> Properties;
};

class TTemplateParser {
public:
  explicit TTemplateParser(const String& Source) : FSource(Source) {}

  [[noreturn]] void Fail(Integer Line, const String& Why) const {
    throw ERaveError(QStringLiteral("报表模板“%1”第 %2 行有误：%3").arg(FSource).arg(Line).arg(Why));
  }

  TLine Split(const String& Text, Integer Number) const {
    TLine line;
    line.Number = Number;
    while (line.Indent < Text.size() && Text[line.Indent] == u' ') ++line.Indent;
    Integer at = line.Indent;
    const auto skipBlanks = [&] {
      while (at < Text.size() && Text[at].isSpace()) ++at;
    };
    const auto word = [&](const QChar Stop) {
      const Integer start = at;
      while (at < Text.size() && !Text[at].isSpace() && Text[at] != Stop) ++at;
      return Text.mid(start, at - start);
    };
    line.Kind = word(QChar());
    skipBlanks();
    line.Name = word(u'=');
    if (line.Name.isEmpty() || (at < Text.size() && Text[at] == u'=')) Fail(Number, QStringLiteral("缺少部件名称"));
    skipBlanks();
    while (at < Text.size()) {
      const String key = word(u'=');
      if (key.isEmpty() || at >= Text.size() || Text[at] != u'=') Fail(Number, QStringLiteral("属性应写成 名称=值"));
      ++at;
      String value;
      if (at < Text.size() && Text[at] == u'"') {
        ++at;
        bool closed = false;
        while (at < Text.size()) {
          const QChar c = Text[at++];
          if (c == u'"') {
            closed = true;
            break;
          }
          if (c == u'\\' && at < Text.size()) {
            value += Text[at++];
            continue;
          }
          value += c;
        }
        if (!closed) Fail(Number, QStringLiteral("引号没有结束"));
      } else {
        value = word(QChar());
      }
      line.Properties.emplace_back(key, value);
      skipBlanks();
    }
    return line;
  }

  static std::unique_ptr<TRaveComponent> Make(const String& Kind, const String& Name) {
    if (Kind == u"Page") return std::make_unique<TRavePage>(Name);
    if (Kind == u"Region") return std::make_unique<TRaveRegion>(Name);
    if (Kind == u"DataBand") return std::make_unique<TRaveDataBand>(Name);
    if (Kind == u"Text") return std::make_unique<TRaveText>(Name);
    if (Kind == u"DataText") return std::make_unique<TRaveDataText>(Name);
    if (Kind == u"Rectangle") return std::make_unique<TRaveRectangle>(Name);
    return nullptr;
  }

  // Which kinds may hold which.
  static bool MayHold(TRaveKind Parent, TRaveKind Child) {
    switch (Parent) {
      case TRaveKind::Report: return Child == TRaveKind::Page;
      case TRaveKind::Page:
        return Child == TRaveKind::Region || Child == TRaveKind::Text || Child == TRaveKind::DataText ||
               Child == TRaveKind::Rectangle;
      case TRaveKind::Region: return Child == TRaveKind::DataBand;
      case TRaveKind::DataBand:
        return Child == TRaveKind::Text || Child == TRaveKind::DataText || Child == TRaveKind::Rectangle;
      default: return false;
    }
  }

  double Length(const TLine& Line, const String& Value) const {
    bool ok = false;
    const double result = Value.toDouble(&ok);  // always with a decimal point, whatever the locale
    if (!ok || !std::isfinite(result) || result < 0 || result > MaxLength)
      Fail(Line.Number, QStringLiteral("长度“%1”无效").arg(Value));
    return result;
  }

  bool Flag(const TLine& Line, const String& Value) const {
    if (Value == u"1") return true;
    if (Value == u"0") return false;
    Fail(Line.Number, QStringLiteral("“%1”应为 0 或 1").arg(Value));
  }

  void Apply(TRaveComponent* Component, const TLine& Line) const {
    for (const auto& [key, value] : Line.Properties) {
      if (key == u"Left") Component->SetLeft(Length(Line, value));
      else if (key == u"Top") Component->SetTop(Length(Line, value));
      else if (key == u"Width" || (key == u"PageWidth" && Component->Kind() == TRaveKind::Page))
        Component->SetWidth(Length(Line, value));
      else if (key == u"Height" || (key == u"PageHeight" && Component->Kind() == TRaveKind::Page))
        Component->SetHeight(Length(Line, value));
      else if (key == u"Visible") Component->SetVisible(Flag(Line, value));
      else if (!ApplyOwn(Component, Line, key, value))
        Fail(Line.Number, QStringLiteral("%1 没有属性“%2”").arg(Line.Kind, key));
    }
  }

  bool ApplyOwn(TRaveComponent* Component, const TLine& Line, const String& Key, const String& Value) const {
    if (auto* band = dynamic_cast<TRaveDataBand*>(Component); band && Key == u"DataView") {
      band->SetDataView(Value);
      return true;
    }
    auto* item = dynamic_cast<TRaveTextItem*>(Component);
    if (!item) return false;
    if (Key == u"FontName") item->Font().Name = Value;
    else if (Key == u"FontSize") {
      bool ok = false;
      item->Font().Size = Value.toInt(&ok);
      if (!ok || item->Font().Size <= 0 || item->Font().Size > MaxFontSize)
        Fail(Line.Number, QStringLiteral("字号“%1”无效").arg(Value));
    } else if (Key == u"Bold") item->Font().Bold = Flag(Line, Value);
    else if (Key == u"Alignment") {
      static const std::map<String, TRaveAlignment> names{{QStringLiteral("Left"), TRaveAlignment::Left},
                                                          {QStringLiteral("Center"), TRaveAlignment::Center},
                                                          {QStringLiteral("Right"), TRaveAlignment::Right}};
      const auto found = names.find(Value);
      if (found == names.end()) Fail(Line.Number, QStringLiteral("对齐方式“%1”无效").arg(Value));
      item->SetAlignment(found->second);
    } else if (auto* text = dynamic_cast<TRaveText*>(item); text && Key == u"Text") text->SetText(Value);
    else if (auto* data = dynamic_cast<TRaveDataText*>(item); data && Key == u"DataField") data->SetDataField(Value);
    else if (data && Key == u"DataView") data->SetDataView(Value);
    else return false;
    return true;
  }

  std::vector<std::unique_ptr<TRaveReport>> Parse(const String& Text) {
    std::vector<std::unique_ptr<TRaveReport>> reports;
    // The open components with their indentation, outermost first.
    std::vector<std::pair<Integer, TRaveComponent*>> open;
    // The case-folded names of the current report's components: names are unique in a report
    // without regard to case.
    QSet<String> names;
    const QStringList lines = Text.split(u'\n');
    for (Integer i = 0; i < lines.size(); ++i) {
      String raw = lines[i];
      if (raw.endsWith(u'\r')) raw.chop(1);
      const String trimmed = raw.trimmed();
      if (trimmed.isEmpty() || trimmed.startsWith(u';')) continue;
      if (raw.contains(u'\t')) Fail(i + 1, QStringLiteral("缩进只能用空格"));
      const TLine line = Split(raw, i + 1);
      while (!open.empty() && open.back().first >= line.Indent) open.pop_back();
      if (line.Kind == u"Report") {
        if (!open.empty()) Fail(line.Number, QStringLiteral("报表不能放在其他部件里"));
        if (!line.Properties.empty()) Fail(line.Number, QStringLiteral("报表没有属性"));
        reports.push_back(std::make_unique<TRaveReport>(line.Name));
        names.clear();
        open.emplace_back(line.Indent, reports.back().get());
        continue;
      }
      std::unique_ptr<TRaveComponent> component = Make(line.Kind, line.Name);
      if (!component) Fail(line.Number, QStringLiteral("未知的部件类型“%1”").arg(line.Kind));
      if (open.empty() || !MayHold(open.back().second->Kind(), component->Kind()))
        Fail(line.Number, QStringLiteral("%1 “%2”放的位置不对").arg(line.Kind, line.Name));
      const String folded = line.Name.toCaseFolded();
      if (names.contains(folded))
        Fail(line.Number, QStringLiteral("部件名称“%1”重复").arg(line.Name));
      names.insert(folded);
      Apply(component.get(), line);
      open.emplace_back(line.Indent, open.back().second->Add(std::move(component)));
    }
    if (reports.empty()) Fail(1, QStringLiteral("没有报表"));
    return reports;
  }

private:
  String FSource;
};

}  // namespace

std::vector<std::unique_ptr<TRaveReport>> ParseRaveTemplate(const String& Text, const String& Source) {
  return TTemplateParser(Source).Parse(Text);
}

std::vector<std::unique_ptr<TRaveReport>> ReadRaveTemplate(const String& FileName) {
  const String shown = QFileInfo(FileName).fileName();
  QFile file(FileName);
  if (!file.exists()) throw ERaveError(QStringLiteral("找不到报表模板“%1”").arg(shown));
  if (!file.open(QIODevice::ReadOnly))
    throw ERaveError(QStringLiteral("无法读取报表模板“%1”：%2").arg(shown, file.errorString()));
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw ERaveError(QStringLiteral("无法读取报表模板“%1”：%2").arg(shown, file.errorString()));
  if (!IsValidUtf8(bytes)) throw ERaveError(QStringLiteral("报表模板“%1”不是 UTF-8 文本").arg(shown));
  return ParseRaveTemplate(Utf8ToString(bytes), shown);
}
