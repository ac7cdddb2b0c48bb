// TIniFile: loading, finding, reading, writing and saving.
//
// Load only cuts the file into sections and trimmed lines. A line is cut into
// name and value when a read or a write first finds it, so lines nobody asks
// for (comments, unknown keys) are written back as they were.
#include "NumberParsing.h"
#include "RangeCheck.h"
#include "VK9_System.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

using Byte = std::uint8_t;

bool IsBlank(Byte b) { return b <= 32; }

void Trim(const Byte*& first, const Byte*& last) {
  while (first < last && IsBlank(*first)) ++first;
  while (last > first && IsBlank(last[-1])) --last;
}

TByteArray TrimmedBytes(const Byte* first, const Byte* last) {
  Trim(first, last);
  return TByteArray(first, last);
}

// The closing byte of a group that `b` opens, or 0.
Byte GroupClose(Byte b) {
  switch (b) {
    case '"': return '"';
    case '(': return ')';
    case '[': return ']';
    case '{': return '}';
    default: return 0;
  }
}

// Cuts a value at each separator outside a quote or bracket group. Groups do
// not nest; one left open runs to the end. A separator as the last byte
// starts no empty item; an empty value has no items.
std::vector<TByteArray> CutItems(const TByteArray& value, Byte separator) {
  std::vector<TByteArray> items;
  const Byte* const end = value.data() + value.size();
  const Byte* p = value.data();
  while (p < end) {
    const Byte* const start = p;
    Byte open = 0;
    const Byte* itemEnd = end;
    for (; p < end; ++p) {
      if (open != 0) {
        if (*p == open) open = 0;
      } else if (*p == separator) {
        itemEnd = p++;
        break;
      } else {
        open = GroupClose(*p);
      }
    }
    items.push_back(TrimmedBytes(start, itemEnd));
  }
  return items;
}

std::string ToText(const TByteArray& bytes) { return std::string(bytes.begin(), bytes.end()); }

TByteArray ToBytes(const std::string& text) { return TByteArray(text.begin(), text.end()); }

}  // namespace

TIniFile::TIniFile() = default;

TIniFile::~TIniFile() { Clear(); }

void TIniFile::Load(const std::string& path) {
  const THandle file = OpenFileShared(path);
  if (file == platform::kInvalidFile) FatalStop("TIniFile.Load(" + path + ") -> FILE NOT FOUND!");

  // The file is held whole in memory and addressed with signed 32-bit sizes.
  const std::int64_t size = platform::FileSize(file);
  if (size < 0 || size > INT32_MAX) {
    CloseFileHandle(file);
    if (size < 0) throw EInOutError("I/O error: cannot read the size of " + path);
    throw ERangeError("Range check error: " + path + " is too large (" + std::to_string(size) + " bytes)");
  }

  Folder = ExtractFolder(path);
  FileName = ExtractName(path);

  // Not a vector: zero-filling the buffer first would cost a pass over it.
  const auto capacity = static_cast<std::int32_t>(size);
  std::unique_ptr<Byte[]> buffer(new Byte[static_cast<std::size_t>(capacity) + 1]);
  std::int32_t count = 0;
  while (count < capacity) {
    const std::int32_t n = ReadFileAt(file, buffer.get() + count, capacity - count, -1);
    if (n <= 0) break;  // the file got shorter since its size was taken
    count += n;
  }
  CloseFileHandle(file);

  LoadFromBytes(buffer.get(), static_cast<std::size_t>(count));
}

void TIniFile::LoadFromBytes(const std::uint8_t* bytes, std::size_t count) {
  Clear();
  const Byte* p = bytes;
  const Byte* const end = bytes + count;
  while (p < end) {
    const auto* lf = static_cast<const Byte*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const Byte* first = p;
    const Byte* last = lf ? lf : end;
    p = lf ? lf + 1 : end;
    Trim(first, last);

    if (first < last && *first == '[') {
      TIniSection& section = Sections.emplace_back();
      const auto* close = static_cast<const Byte*>(std::memchr(first, ']', static_cast<std::size_t>(last - first)));
      const Byte* nameEnd = close ? close : last;
      const TByteArray name = TrimmedBytes(first + 1, nameEnd);
      section.Name.assign(name.begin(), name.end());
      if (close && close + 1 < last) section.HeaderTail.assign(close + 1, last);
      continue;
    }
    if (Sections.empty()) Sections.emplace_back();
    TIniKey& key = Sections.back().Keys.emplace_back();
    if (first < last) key.Raw.assign(first, last);
  }
}

namespace {

// Writes all of `bytes` from `offset` on; false at the first failed write.
bool WriteWholeAt(THandle file, const Byte* bytes, std::size_t count, std::int64_t offset) {
  if (!platform::FileSeek(file, offset)) return false;
  std::size_t done = 0;
  while (done < count) {
    const std::size_t piece = std::min<std::size_t>(count - done, INT32_MAX);
    const std::int32_t n = WriteFileAt(file, bytes + done, static_cast<std::int32_t>(piece), -1);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

// Rewritten in place, and write errors are not reported: the options are the
// player's, not worth a stop. But a full disk must not cost the old content,
// so a longer file is first grown to its new length by writing the new tail
// past the old end; when that fails the old length is restored and the old
// bytes stay untouched. A file the save itself made goes again then: an
// empty player's copy would be loaded, without its section, on every later
// start.
void TIniFile::Save(const std::string& path) {
  const std::string target = path.empty() ? Folder + FileName : path;
  const bool made = platform::PathAttributes(target) == platform::kInvalidAttributes;
  const THandle file = OpenFileShared(target);
  if (file == platform::kInvalidFile) return;
  const TByteArray bytes = SavedBytes();
  const std::int64_t oldSize = platform::FileSize(file);
  const auto newSize = static_cast<std::int64_t>(bytes.size());
  bool written = oldSize >= 0;
  if (written && newSize > oldSize) {
    const auto tail = static_cast<std::size_t>(oldSize);
    written = WriteWholeAt(file, bytes.data() + tail, bytes.size() - tail, oldSize);
    if (!written && platform::FileSeek(file, oldSize)) platform::FileTruncate(file);
  }
  if (written && WriteWholeAt(file, bytes.data(), bytes.size(), 0)) platform::FileTruncate(file);
  CloseFileHandle(file);
  if (!written && made) platform::FileDelete(target);
}

TByteArray TIniFile::SavedBytes() const {
  static constexpr Byte kLineBreak[] = {'\r', '\n'};
  TByteArray out;
  const auto put = [&out](const void* data, std::size_t size) {
    const auto* b = static_cast<const Byte*>(data);
    out.insert(out.end(), b, b + size);
  };
  for (std::size_t s = 0; s < Sections.size(); ++s) {
    const TIniSection& section = Sections[s];
    const bool lastSection = s + 1 == Sections.size();
    const std::size_t headerStart = out.size();
    if (!section.Name.empty()) {
      out.push_back('[');
      put(section.Name.data(), section.Name.size());
      out.push_back(']');
    }
    put(section.HeaderTail.data(), section.HeaderTail.size());
    if (out.size() != headerStart && !(lastSection && section.Keys.empty())) put(kLineBreak, 2);

    for (std::size_t k = 0; k < section.Keys.size(); ++k) {
      const TIniKey& key = section.Keys[k];
      if (!key.Name.empty()) {
        put(key.Name.data(), key.Name.size());
        out.push_back('=');
        for (std::size_t i = 0; i < key.Items.size(); ++i) {
          if (i > 0) out.push_back(',');
          put(key.Items[i].data(), key.Items[i].size());
        }
      } else {
        put(key.Raw.data(), key.Raw.size());
      }
      if (!(lastSection && k + 1 == section.Keys.size())) put(kLineBreak, 2);
    }
  }
  return out;
}

void TIniFile::Clear() {
  Sections.clear();
  CurrentSection = -1;
  CurrentKey = -1;
}

bool TIniFile::SelectSection(const std::string& name) {
  for (std::size_t i = 0; i < Sections.size(); ++i) {
    if (Sections[i].Name == name) {
      CurrentSection = RangeChecked<std::int32_t>(i);
      CurrentKey = 0;
      return true;
    }
  }
  return false;
}

// A parsed line matches by its name. An unparsed one matches when it starts
// with the key name followed by blanks (or none) and "=": compared in place,
// without cutting the line.
std::int32_t TIniFile::FindKey(const std::string& key) const {
  if (key.empty() || CurrentSection < 0) return -1;
  const std::vector<TIniKey>& keys = Sections[static_cast<std::size_t>(CurrentSection)].Keys;
  const auto delimiter = static_cast<Byte>(Delimiter);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const TIniKey& record = keys[i];
    if (record.Raw.empty()) {
      if (record.Name == key) return RangeChecked<std::int32_t>(i);
      continue;
    }
    const TByteArray& raw = record.Raw;
    if (raw.size() <= key.size() || std::memcmp(raw.data(), key.data(), key.size()) != 0) continue;
    std::size_t j = key.size();
    while (j < raw.size() && IsBlank(raw[j])) ++j;
    if (j < raw.size() && raw[j] == delimiter) return RangeChecked<std::int32_t>(i);
  }
  return -1;
}

void TIniFile::ParseKey(std::int32_t index, bool split) {
  TIniKey& record = Sections[static_cast<std::size_t>(CurrentSection)].Keys[static_cast<std::size_t>(index)];
  TByteArray value;
  if (!record.Raw.empty()) {
    const Byte* const first = record.Raw.data();
    const Byte* const last = first + record.Raw.size();
    const auto* equals = static_cast<const Byte*>(std::memchr(first, static_cast<Byte>(Delimiter), record.Raw.size()));
    if (!equals) return;
    const TByteArray name = TrimmedBytes(first, equals);
    record.Name.assign(name.begin(), name.end());
    value = TrimmedBytes(equals + 1, last);
    TByteArray().swap(record.Raw);
    if (!split) {
      record.Items.clear();
      record.Items.push_back(std::move(value));
      return;
    }
  } else {
    if (record.Items.empty() || !split) return;
    value = std::move(record.Items.front());
  }
  record.Items = CutItems(value, static_cast<Byte>(ItemSeparator));
}

// Finds the key and the chosen item, parsing and cutting the line as needed.
const TByteArray* TIniFile::FindItem(const std::string& key, std::int32_t item) {
  if (CurrentSection < 0) return nullptr;
  const std::int32_t index = FindKey(key);
  if (index < 0) return nullptr;
  const TIniKey& record = Sections[static_cast<std::size_t>(CurrentSection)].Keys[static_cast<std::size_t>(index)];
  if (record.Items.empty()) ParseKey(index, item != -1);
  // A value held whole is cut into its items when an item is asked for.
  if (record.Items.size() == 1 && item != -1) ParseKey(index, true);
  CurrentKey = index;
  if (item == -1) return record.Items.empty() ? nullptr : &record.Items.front();
  if (item >= 1 && static_cast<std::size_t>(item) <= record.Items.size()) {
    return &record.Items[static_cast<std::size_t>(item) - 1];
  }
  return nullptr;
}

bool TIniFile::KeyExists(const std::string& key) { return FindKey(key) >= 0; }

std::string TIniFile::ReadString(const std::string& key, std::int32_t item) {
  const TByteArray* found = FindItem(key, item);
  return found ? ToText(*found) : std::string();
}

std::u16string TIniFile::ReadWideString(const std::string& key, std::int32_t item) {
  const TByteArray* found = FindItem(key, item);
  if (!found || found->empty()) return {};
  return platform::Utf8ToUtf16(reinterpret_cast<const char*>(found->data()), found->size());
}

// A value whose digits pass the 32-bit range gives the default: a damaged
// options file must not stop the program.
std::int32_t TIniFile::ReadInteger(const std::string& key, std::int32_t item, std::int32_t def) {
  const std::string s = ReadString(key, item);
  if (s.empty()) return def;
  std::int32_t value = 0;
  return vk9_system::ParseLooseInteger(TrimText(s), value) ? value : def;
}

bool TIniFile::ReadBool(const std::string& key, std::int32_t item, bool def) {
  const std::string s = ReadString(key, item);
  return s.empty() ? def : TextToBool(s);
}

void TIniFile::WriteString(const std::string& key, const std::string& value, std::int32_t item) {
  if (CurrentSection < 0) return;
  std::vector<TIniKey>& keys = Sections[static_cast<std::size_t>(CurrentSection)].Keys;
  std::int32_t index = FindKey(key);
  if (index < 0) {
    TIniKey& record = keys.emplace_back();
    record.Name = key;
    if (item == -1) {
      record.Items.push_back(ToBytes(value));
    } else if (item >= 1) {
      record.Items.resize(static_cast<std::size_t>(item));
      record.Items.back() = ToBytes(value);
    }
    index = RangeChecked<std::int32_t>(keys.size() - 1);
  } else {
    TIniKey& record = keys[static_cast<std::size_t>(index)];
    if (record.Items.empty()) ParseKey(index, item != -1);
    if (item == -1) {
      record.Items.assign(1, ToBytes(value));
    } else if (item >= 1) {
      if (record.Items.size() < static_cast<std::size_t>(item)) record.Items.resize(static_cast<std::size_t>(item));
      record.Items[static_cast<std::size_t>(item) - 1] = ToBytes(value);
    }
  }
  CurrentKey = index;
}
