#include "platform/rm/x_scan.h"

#include <endian.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace rm {
namespace {

constexpr size_t kHeaderBytes = 16;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsDelimiter(char c) { return c == ';' || c == ',' || c == '{' || c == '}'; }

// The little-endian number that starts at `at`.
template <class Value>
Value LittleEndian(const char* at) {
    Value value;
    std::memcpy(&value, at, sizeof value);
    if constexpr (sizeof value == 2) {
        return le16toh(value);
    } else {
        return le32toh(value);
    }
}

// Longer runs of digits overflow the importer's number reader, which then
// stops where this reading would not.
constexpr size_t kMaxDigits = 19;

// The text form, read as the importer reads it: tokens are runs between
// blanks, each of ";,{}" standing alone; a comment ("//" or "#" where a token
// would start) runs to the line's end; every number is followed by a
// separator. The text must be followed by a zero byte (as a std::string's
// content is): every scan stops at it, so none needs to test for the end.
class TextTokens {
public:
    static constexpr uint64_t kMinNumberBytes = 2;  // a digit and its separator

    TextTokens(std::string_view data, const std::string& file)
        : p_(data.data()), end_(data.data() + data.size()), file_(file) {}

    [[noreturn, gnu::cold, gnu::noinline]] void Refuse(const std::string& why) const {
        throw MalformedXFile(file_, why);
    }
    uint64_t Remaining() const { return uint64_t(end_ - p_); }

    // The importer reads nothing more of the header's line.
    void SkipLine() {
        while (p_ < end_ && *p_ != '\n' && *p_ != '\r') ++p_;
        if (p_ < end_) ++p_;
    }

    std::string_view Next() {
        SkipSpace();
        const char* start = p_;
        while (p_ < end_ && !IsSpace(*p_)) {
            if (IsDelimiter(*p_)) {
                if (p_ == start) ++p_;
                break;
            }
            ++p_;
        }
        return {start, size_t(p_ - start)};
    }

    uint32_t Int() {
        SkipSpace();
        const bool negative = *p_ == '-';
        if (negative) ++p_;
        if (!IsDigit(*p_)) Refuse("a number was expected");
        uint64_t value = 0;
        while (IsDigit(*p_)) {
            value = value * 10 + uint64_t(*p_++ - '0');
            if (value > UINT32_MAX) Refuse("a whole number is too large");
        }
        CheckSeparator();
        // The importer turns a negative number round to a large one.
        return negative ? uint32_t(0) - uint32_t(value) : uint32_t(value);
    }

    void Float() {
        SkipSpace();
        // The importer takes these broken numbers of some exporters as 0,
        // and eats one character more after the first two.
        const char* one = *p_ == '-' ? p_ + 1 : p_;
        if (one[0] == '1' && one[1] == '.' && one[2] == '#') {
            const std::string_view rest(p_, size_t(end_ - p_));
            if (rest.starts_with("-1.#IND00") || rest.starts_with("1.#IND00")) {
                p_ = std::min(p_ + 9, end_);
                return CheckSeparator();
            }
            if (rest.starts_with("1.#QNAN0")) {
                p_ += 8;
                return CheckSeparator();
            }
        }
        SkipRealNumber();
        CheckSeparator();
    }

    // The next token is "," or ";" (or ";" alone).
    void CheckSeparator(bool semicolonOnly = false) {
        SkipSpace();
        if (*p_ != ';' && (semicolonOnly || *p_ != ','))
            Refuse(semicolonOnly ? "a semicolon was expected" : "a separator was expected");
        ++p_;
    }
    void CheckSemicolon() { CheckSeparator(true); }
    void TestSeparator() {
        SkipSpace();
        if (*p_ == ';' || *p_ == ',') ++p_;
    }
    // A second ";" right after a material list's indices.
    void SkipListSemicolon() {
        if (*p_ == ';') ++p_;
    }

    // A quoted string followed at once by ";".
    std::string_view String() {
        SkipSpace();
        if (*p_ != '"') Refuse("a quoted string was expected");
        const char* start = ++p_;
        while (p_ < end_ && *p_ != '"') ++p_;
        if (p_ + 1 >= end_ || p_[1] != ';') Refuse("a string has no closing quote and semicolon");
        p_ += 2;
        return {start, size_t(p_ - 2 - start)};
    }

private:
    void SkipSpace() {
        while (true) {
            while (IsSpace(*p_)) ++p_;
            if (!((p_[0] == '/' && p_[1] == '/') || p_[0] == '#') || p_ >= end_) return;
            SkipLine();
        }
    }

    void SkipDigits() {
        const char* start = p_;
        while (IsDigit(*p_)) ++p_;
        if (size_t(p_ - start) > kMaxDigits) Refuse("a number has too many digits");
    }

    bool SkipNanOrInfinity() {
        if (StartsWithNoCase("nan")) {
            p_ += 3;
        } else if (StartsWithNoCase("inf")) {
            p_ += StartsWithNoCase("infinity") ? 8 : 3;
        } else {
            return false;
        }
        return true;
    }

    // Stops at the first difference, so never past the zero byte.
    bool StartsWithNoCase(std::string_view word) const {
        for (size_t i = 0; i < word.size(); ++i)
            if ((p_[i] | 0x20) != word[i]) return false;
        return true;
    }

    static bool IsPoint(char c) { return c == '.' || c == ','; }

    // As the importer's number reader takes them: a sign, then "nan", "inf"
    // or "infinity", or digits with "." or "," before a fraction and an
    // exponent after it.
    void SkipRealNumber() {
        if (*p_ == '-' || *p_ == '+') ++p_;
        const char letter = char(*p_ | 0x20);
        if ((letter == 'n' || letter == 'i') && SkipNanOrInfinity()) return;
        if (!IsDigit(*p_) && !(IsPoint(*p_) && IsDigit(p_[1]))) Refuse("a number was expected");
        SkipDigits();
        if (IsPoint(*p_) && IsDigit(p_[1])) {
            ++p_;
            while (IsDigit(*p_)) ++p_;  // the reader drops digits past its precision
        } else if (*p_ == '.') {
            ++p_;
        }
        if (*p_ == 'e' || *p_ == 'E') {
            ++p_;
            if (*p_ == '-' || *p_ == '+') ++p_;
            if (!IsDigit(*p_)) Refuse("a number has an empty exponent");
            SkipDigits();
        }
    }

    const char* p_;
    const char* end_;
    const std::string& file_;
};

// The binary form: 16-bit tokens, some followed by a record. Numbers come
// from lists that the importer reads across, one number at a time; here a
// list must hold numbers of the kind read from it and end where its object's
// numbers end, so that the importer reads no list as tokens.
class BinaryTokens {
public:
    static constexpr uint64_t kMinNumberBytes = 4;

    BinaryTokens(std::string_view data, size_t floatBytes, const std::string& file)
        : data_(data), floatBytes_(floatBytes), file_(file) {}

    [[noreturn, gnu::cold, gnu::noinline]] void Refuse(const std::string& why) const {
        throw MalformedXFile(file_, why);
    }
    uint64_t Remaining() const { return data_.size() - p_; }

    std::string_view Next() {
        if (pending_ > 0) Refuse("a list holds more numbers than its object reads");
        if (Remaining() < 2) return {};
        const uint16_t token = Word();
        switch (token) {
            case kName:
                return Record(DWord());
            case kString: {
                const std::string_view text = Record(DWord());
                const uint16_t terminator = Word();
                if (terminator != kComma && terminator != kSemicolon) Refuse("a string has no terminator");
                return text;
            }
            case kInteger:
                Skip(4);
                return "<integer>";
            case kGuid:
                Skip(16);
                return "<guid>";
            case kIntegerList:
                Skip(uint64_t(DWord()) * 4);
                return "<int_list>";
            case kFloatList:
                Skip(uint64_t(DWord()) * floatBytes_);
                return "<flt_list>";
            default:
                return StandAlone(token);
        }
    }

    uint32_t Int() {
        Open(kIntegerList, 4);
        --pending_;
        return DWord();
    }
    void Float() {
        Open(kFloatList, floatBytes_);
        --pending_;
        Skip(floatBytes_);
    }

    // Separators are not read in binary files.
    void CheckSeparator() {}
    void CheckSemicolon() {}
    void TestSeparator() {}
    void SkipListSemicolon() {}

    std::string_view String() {
        if (Remaining() < 2 || uint8_t(data_[p_]) != kString || data_[p_ + 1] != 0) Refuse("a string was expected");
        return Next();
    }

private:
    static constexpr uint16_t kName = 1, kString = 2, kInteger = 3, kGuid = 5, kIntegerList = 6, kFloatList = 7;
    static constexpr uint16_t kComma = 19, kSemicolon = 20;

    void Need(uint64_t bytes) const {
        if (bytes > Remaining()) Refuse("a token runs past the end of the file");
    }
    void Skip(uint64_t bytes) {
        Need(bytes);
        p_ += size_t(bytes);
    }
    template <class Value>
    Value Read() {
        Need(sizeof(Value));
        const Value value = LittleEndian<Value>(data_.data() + p_);
        p_ += sizeof(Value);
        return value;
    }
    uint16_t Word() { return Read<uint16_t>(); }
    uint32_t DWord() { return Read<uint32_t>(); }
    std::string_view Record(uint32_t length) {
        Need(length);
        const std::string_view text = data_.substr(p_, length);
        p_ += length;
        return text;
    }

    // Starts the next list when the current one is used up: an integer
    // stands for a list of one.
    void Open(uint16_t list, size_t numberBytes) {
        if (pending_ == 0) {
            const uint16_t token = Word();
            if (token == kIntegerList || token == kFloatList) {
                pending_ = DWord();
                if (pending_ == 0) Refuse("an empty list stands where numbers are read");
                Need(uint64_t(pending_) * numberBytes);
            } else if (token == kInteger) {
                pending_ = 1;
            } else {
                Refuse("a list of numbers was expected");
            }
            kind_ = token == kInteger ? kIntegerList : token;
        }
        if (kind_ != list) Refuse(list == kIntegerList ? "a whole number was expected" : "a real number was expected");
    }

    static std::string_view StandAlone(uint16_t token) {
        switch (token) {
            case 10:
                return "{";
            case 11:
                return "}";
            case 12:
                return "(";
            case 13:
                return ")";
            case 14:
                return "[";
            case 15:
                return "]";
            case 16:
                return "<";
            case 17:
                return ">";
            case 18:
                return ".";
            case 19:
                return ",";
            case 20:
                return ";";
            case 31:
                return "template";
            case 40:
                return "WORD";
            case 41:
                return "DWORD";
            case 42:
                return "FLOAT";
            case 43:
                return "DOUBLE";
            case 44:
                return "CHAR";
            case 45:
                return "UCHAR";
            case 46:
                return "SWORD";
            case 47:
                return "SDWORD";
            case 48:
                return "void";
            case 49:
                return "string";
            case 50:
                return "unicode";
            case 51:
                return "cstring";
            case 52:
                return "array";
            default:
                return {};  // the importer takes an unknown token for the end of the file
        }
    }

    std::string_view data_;
    size_t floatBytes_;
    const std::string& file_;
    size_t p_ = 0;
    uint32_t pending_ = 0;  // numbers left in the current list
    uint16_t kind_ = 0;
};

// What one mesh declares, as far as its parts depend on it.
struct MeshScan {
    uint32_t vertices = 0;
    uint32_t faces = 0;
    std::vector<uint32_t> emptyFaces;  // faces without corners, ascending
    bool hasMaterialList = false;
    std::vector<uint32_t> materials;  // one per face, or one for all
    uint32_t listedMaterials = 0;     // material objects and references in the list
};

// The importer's reading of the objects it knows, with its checks and ours;
// objects it does not know are skipped brace by brace, as it skips them.
template <class Tokens>
class Scanner {
public:
    explicit Scanner(Tokens& in) : in_(in) {}

    XLayout Run() {
        for (std::string_view name = in_.Next(); !name.empty(); name = in_.Next()) TopObject(name);
        // Frame by frame in pre-order, then the meshes outside any frame.
        std::stable_sort(layout_.meshes.begin(), layout_.meshes.end(),
                         [](const auto& a, const auto& b) { return uint32_t(a.frame) < uint32_t(b.frame); });
        return std::move(layout_);
    }

private:
    void TopObject(std::string_view name) {
        if (name == "template") {
            Template();
        } else if (name == "Frame") {
            Frame(true);
        } else if (name == "Mesh") {
            Mesh(-1);
        } else if (name == "AnimTicksPerSecond") {
            Numbers(1, 0);
        } else if (name == "AnimationSet") {
            AnimationSet();
        } else if (name == "Material") {
            Material();
        } else if (name != "}") {  // a stray closing brace is passed over
            Unknown();
        }
    }

    void Enter(int levels = 1) {
        if (depth_ + levels > kMaxXNesting)
            in_.Refuse("objects are nested deeper than " + std::to_string(kMaxXNesting) + " levels");
        depth_ += levels;
    }
    // The opening of an object: its name, if any, and "{".
    void Head() {
        if (in_.Next() != "{" && in_.Next() != "{") in_.Refuse("an object has no opening brace");
        Enter();
    }
    void Close() {
        if (in_.Next() != "}") in_.Refuse("an object has no closing brace");
        --depth_;
    }
    // The next child object's name, or "}" when its parent ends.
    std::string_view Child(const char* parent) {
        const std::string_view name = in_.Next();
        if (name.empty()) in_.Refuse(std::string("the file ends inside ") + parent);
        if (name == "}") --depth_;
        return name;
    }

    uint32_t Count(uint64_t numbersEach, const char* what) {
        const uint32_t count = in_.Int();
        if (uint64_t(count) * numbersEach * Tokens::kMinNumberBytes > in_.Remaining())
            in_.Refuse("it declares " + std::to_string(count) + " " + what + ", more than the file holds");
        return count;
    }
    uint32_t Index(uint32_t count, const char* what) {
        const uint32_t index = in_.Int();
        if (index >= count)
            in_.Refuse(std::string(what) + " " + std::to_string(index) + " of " + std::to_string(count));
        return index;
    }
    void Floats(uint32_t count) {
        for (uint32_t i = 0; i < count; ++i) in_.Float();
    }
    // A vector or colour: its numbers and an optional separator.
    void Vector(int count) {
        Floats(count);
        in_.TestSeparator();
    }
    // An object of `ints` whole numbers and `floats` real ones.
    void Numbers(int ints, int floats, bool semicolon = false) {
        Head();
        for (int i = 0; i < ints; ++i) in_.Int();
        Floats(floats);
        if (semicolon) in_.CheckSemicolon();
        Close();
    }

    void Template() {
        Head();
        in_.Next();  // its identifier; the members end at the first "}"
        for (std::string_view token = in_.Next(); token != "}"; token = in_.Next())
            if (token.empty()) in_.Refuse("the file ends inside a template");
        --depth_;
    }

    void Frame(bool top) {
        Head();
        const int32_t index = layout_.frameCount++;
        if (top) ++layout_.topFrameCount;
        for (std::string_view name = Child("a frame"); name != "}"; name = Child("a frame")) {
            if (name == "Frame") {
                Frame(false);
            } else if (name == "FrameTransformMatrix") {
                Numbers(0, 16, true);
            } else if (name == "Mesh") {
                Mesh(index);
            } else {
                Unknown();
            }
        }
    }

    void Mesh(int32_t frame) {
        Head();
        MeshScan mesh;
        mesh.vertices = Count(3, "vertices");
        for (uint32_t v = 0; v < mesh.vertices; ++v) Vector(3);
        mesh.faces = Count(1, "faces");
        for (uint32_t f = 0; f < mesh.faces; ++f) {
            const uint32_t corners = Count(1, "corners");
            if (corners == 0) mesh.emptyFaces.push_back(f);
            for (uint32_t c = 0; c < corners; ++c) Index(mesh.vertices, "a face names vertex");
            in_.TestSeparator();
        }
        for (std::string_view name = Child("a mesh"); name != "}"; name = Child("a mesh")) MeshChild(name, mesh);
        layout_.meshes.push_back(Parts(mesh, frame));
    }

    void MeshChild(std::string_view name, MeshScan& mesh) {
        if (name == "MeshNormals") {
            Normals(mesh);
        } else if (name == "MeshTextureCoords") {
            TextureCoords(mesh);
        } else if (name == "MeshVertexColors") {
            VertexColors(mesh);
        } else if (name == "MeshMaterialList") {
            MaterialList(mesh);
        } else if (name == "XSkinMeshHeader") {
            Numbers(3, 0);
        } else if (name == "SkinWeights") {
            SkinWeights(mesh);
        } else {
            Unknown();
        }
    }

    void Normals(const MeshScan& mesh) {
        Head();
        const uint32_t normals = Count(3, "normals");
        for (uint32_t n = 0; n < normals; ++n) Vector(3);
        if (in_.Int() != mesh.faces) in_.Refuse("its normals are given for another number of faces");
        for (uint32_t f = 0; f < mesh.faces; ++f) {
            const uint32_t corners = Count(1, "corners");
            for (uint32_t c = 0; c < corners; ++c) Index(normals, "a face names normal");
            in_.TestSeparator();
        }
        Close();
    }

    void TextureCoords(const MeshScan& mesh) {
        Head();
        if (in_.Int() != mesh.vertices) in_.Refuse("its texture coordinates are given for another number of vertices");
        for (uint32_t v = 0; v < mesh.vertices; ++v) Vector(2);
        Close();
    }

    void VertexColors(const MeshScan& mesh) {
        Head();
        if (in_.Int() != mesh.vertices) in_.Refuse("its vertex colours are given for another number of vertices");
        for (uint32_t v = 0; v < mesh.vertices; ++v) {
            Index(mesh.vertices, "a vertex colour names vertex");
            Vector(4);
            in_.TestSeparator();
        }
        Close();
    }

    void SkinWeights(const MeshScan& mesh) {
        Head();
        in_.String();  // the bone's frame
        const uint32_t weights = Count(2, "skin weights");
        for (uint32_t w = 0; w < weights; ++w) Index(mesh.vertices, "a skin weight names vertex");
        Floats(weights);
        Floats(16);
        in_.CheckSemicolon();
        Close();
    }

    void MaterialList(MeshScan& mesh) {
        // The importer would add a second list's indices to the first's.
        if (mesh.hasMaterialList) in_.Refuse("a mesh has two material lists");
        mesh.hasMaterialList = true;
        Head();
        const uint32_t declared = in_.Int();
        const uint32_t indices = Count(1, "material indices");
        // One index stands for every face; the importer needs a face for it.
        if (!(indices == mesh.faces || (indices == 1 && mesh.faces > 0)))
            in_.Refuse("its material list is given for another number of faces");
        mesh.materials.reserve(indices);
        for (uint32_t i = 0; i < indices; ++i) mesh.materials.push_back(in_.Int());
        in_.SkipListSemicolon();
        for (std::string_view name = Child("a material list"); name != "}"; name = Child("a material list")) {
            if (name == "{" || name == "Material") {
                name == "{" ? Reference() : Material();
                ++mesh.listedMaterials;
            } else if (name != ";") {
                Unknown();
            }
        }
        const uint32_t count = std::min(declared, mesh.listedMaterials);
        for (uint32_t material : mesh.materials)
            if (material >= count)
                in_.Refuse("a face uses material " + std::to_string(material) + " of a list of " +
                           std::to_string(count));
    }

    // "{ name }", its opening brace read.
    void Reference() {
        Enter();
        in_.Next();
        Close();
    }

    void Material() {
        Head();
        Vector(4);
        in_.Float();
        Vector(3);
        Vector(3);
        for (std::string_view name = Child("a material"); name != "}"; name = Child("a material")) {
            if (name == "TextureFilename" || name == "TextureFileName" || name == "NormalmapFilename" ||
                name == "NormalmapFileName") {
                Head();
                in_.String();
                Close();
            } else {
                Unknown();
            }
        }
    }

    void AnimationSet() {
        Head();
        for (std::string_view name = Child("an animation set"); name != "}"; name = Child("an animation set"))
            name == "Animation" ? Animation() : Unknown();
    }

    void Animation() {
        Head();
        for (std::string_view name = Child("an animation"); name != "}"; name = Child("an animation")) {
            if (name == "AnimationKey") {
                AnimationKey();
            } else if (name == "{") {
                Reference();
            } else {
                Unknown();
            }
        }
    }

    void AnimationKey() {
        Head();
        const uint32_t type = in_.Int();
        if (type > 4) in_.Refuse("an animation key has the unknown type " + std::to_string(type));
        const uint32_t keys = Count(2, "animation keys");
        static constexpr uint32_t kValues[] = {4, 3, 3, 16, 16};  // rotation, scale, position, matrix (twice)
        for (uint32_t k = 0; k < keys; ++k) {
            in_.Int();  // its time
            if (in_.Int() != kValues[type]) in_.Refuse("an animation key has the wrong number of values");
            if (kValues[type] == 3) {
                Vector(3);
            } else {
                Floats(kValues[type]);
                in_.CheckSemicolon();
            }
            in_.CheckSeparator();
        }
        Close();
    }

    // Skipped up to its "{" and on to the matching "}".
    void Unknown() {
        for (std::string_view token = in_.Next(); token != "{"; token = in_.Next())
            if (token.empty()) in_.Refuse("the file ends inside an object");
        Enter();
        for (int open = 1; open > 0;) {
            const std::string_view token = in_.Next();
            if (token.empty()) in_.Refuse("the file ends inside an object");
            if (token == "{") {
                Enter();
                ++open;
            } else if (token == "}") {
                --depth_;
                --open;
            }
        }
    }

    XLayout::Mesh Parts(const MeshScan& mesh, int32_t frame) const;

    Tokens& in_;
    int depth_ = 0;
    XLayout layout_;
};

// The importer makes one part per material that has a corner to draw, in
// material order; without a material list, one part of every face.
template <class Tokens>
XLayout::Mesh Scanner<Tokens>::Parts(const MeshScan& mesh, int32_t frame) const {
    XLayout::Mesh parts;
    parts.frame = frame;
    if (mesh.materials.empty()) {
        if (mesh.emptyFaces.size() < mesh.faces) parts.partFaces.push_back(mesh.faces);
        return parts;
    }
    const auto materialOf = [&](uint32_t face) { return mesh.materials[mesh.materials.size() == 1 ? 0 : face]; };
    const size_t materials = std::max<uint32_t>(mesh.listedMaterials, 1);
    std::vector<uint32_t> faces(materials, 0);
    std::vector<bool> drawn(materials, false);
    auto empty = mesh.emptyFaces.begin();
    for (uint32_t f = 0; f < mesh.faces; ++f) {
        const uint32_t material = materialOf(f);
        ++faces[material];
        if (empty != mesh.emptyFaces.end() && *empty == f) {
            ++empty;
        } else {
            drawn[material] = true;
        }
    }
    std::vector<uint32_t> partOf(materials, XLayout::kNoPart);
    for (size_t m = 0; m < materials; ++m) {
        if (!drawn[m]) continue;
        partOf[m] = uint32_t(parts.partFaces.size());
        parts.partFaces.push_back(faces[m]);
    }
    if (parts.partFaces.size() > 1) {
        parts.faceParts.resize(mesh.faces);
        for (uint32_t f = 0; f < mesh.faces; ++f) parts.faceParts[f] = partOf[materialOf(f)];
    }
    return parts;
}

// Compressed files: after the header, the expanded size of the whole file,
// then blocks of at most 32 KiB once expanded, each written as its expanded
// size, its compressed size (counting the "CK" mark that opens it), and a
// deflate stream whose window is the block before. The importer reads each
// block's compressed size and mark, skipping the expanded sizes.
constexpr size_t kMszipSkip = 6;
constexpr uint16_t kMszipMark = 0x4B43;  // "CK"
constexpr size_t kMszipBlock = 32786;    // the most the importer expands a block to

class Inflater {
public:
    explicit Inflater(const std::string& file) : file_(file) {
        if (inflateInit2(&stream_, -MAX_WBITS) != Z_OK) throw MalformedXFile(file_, "it cannot be decompressed");
    }
    ~Inflater() { inflateEnd(&stream_); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Appends the expansion of one block to `out`; the block before it, the
    // last `window` bytes of `out`, serves as its dictionary.
    void Block(std::string_view compressed, std::string& out, size_t window) {
        if (inflateReset(&stream_) != Z_OK) Refuse();
        if (window > 0 &&
            inflateSetDictionary(&stream_, reinterpret_cast<const Bytef*>(out.data() + out.size() - window),
                                 uInt(window)) != Z_OK)
            Refuse();
        const size_t start = out.size();
        out.resize(start + kMszipBlock);
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
        stream_.avail_in = uInt(compressed.size());
        stream_.next_out = reinterpret_cast<Bytef*>(out.data() + start);
        stream_.avail_out = uInt(kMszipBlock);
        const int result = inflate(&stream_, Z_FINISH);
        out.resize(start + kMszipBlock - stream_.avail_out);
        if (result != Z_STREAM_END) Refuse();
    }

private:
    [[noreturn]] void Refuse() const { throw MalformedXFile(file_, "a compressed block is damaged"); }

    z_stream stream_{};
    const std::string& file_;
};

// The plain form of a compressed file, with the header of that form.
std::string Decompress(const std::string& bytes, bool binary, const std::string& file) {
    if (bytes.size() < kHeaderBytes + kMszipSkip) throw MalformedXFile(file, "it ends inside its header");
    std::string plain = bytes.substr(0, kHeaderBytes);
    plain.replace(8, 4, binary ? "bin " : "txt ");
    // The importer reads a compressed text from its first byte, and a plain
    // one from the line after the header's.
    if (!binary) plain += '\n';
    Inflater inflater(file);
    size_t window = 0;
    for (size_t p = kHeaderBytes + kMszipSkip; p + 3 < bytes.size();) {
        const size_t length = LittleEndian<uint16_t>(bytes.data() + p);
        if (LittleEndian<uint16_t>(bytes.data() + p + 2) != kMszipMark)
            throw MalformedXFile(file, "a compressed block has no mark");
        p += 4;
        const size_t before = plain.size();
        inflater.Block(std::string_view(bytes).substr(p, std::min(length, bytes.size() - p)), plain, window);
        window = plain.size() - before;
        if (plain.size() > kMaxXFileBytes) throw MalformedXFile(file, "it expands past 256 MiB");
        p += length;
    }
    return plain;
}

}  // namespace

Failure MalformedXFile(const std::string& file, const std::string& why) {
    return Failure(failure_number::InvalidArgument, "Cannot read the mesh file " + file + ": " + why);
}

XFileContent ScanXFile(std::string bytes, const std::string& file) {
    if (bytes.size() < kHeaderBytes || bytes.compare(0, 4, "xof ") != 0)
        throw MalformedXFile(file, "it is not a DirectX mesh file");
    const std::string format = bytes.substr(8, 4), numberSize = bytes.substr(12, 4);
    if (numberSize != "0032" && numberSize != "0064") throw MalformedXFile(file, "its number size is unknown");
    const bool binary = format == "bin " || format == "bzip";
    if (!binary && format != "txt " && format != "tzip") throw MalformedXFile(file, "its format is unknown");
    if (format == "tzip" || format == "bzip") bytes = Decompress(bytes, binary, file);

    XFileContent content{std::move(bytes), {}};
    const std::string_view body = std::string_view(content.bytes).substr(kHeaderBytes);
    if (binary) {
        BinaryTokens in(body, numberSize == "0064" ? 8 : 4, file);
        content.layout = Scanner<BinaryTokens>(in).Run();
    } else {
        TextTokens in(body, file);  // the body ends where the string does, before its zero byte
        in.SkipLine();
        content.layout = Scanner<TextTokens>(in).Run();
    }
    return content;
}

}  // namespace rm
