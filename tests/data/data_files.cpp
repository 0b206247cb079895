#include "data_files.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace data_test {

std::string GamePath(const std::string& relative) { return std::string(QUELLMAR_GAME_DIR) + "/" + relative; }

bool Exists(const std::string& relative) { return std::filesystem::is_regular_file(GamePath(relative)); }

std::vector<std::string> ReadLines(const std::string& relative) {
    std::ifstream file(GamePath(relative), std::ios::binary);
    if (!file) throw std::runtime_error("missing " + relative);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t blank; (blank = line.find(' ', start)) != std::string::npos; start = blank + 1)
        fields.push_back(line.substr(start, blank - start));
    fields.push_back(line.substr(start));
    return fields;
}

double Number(const std::string& text) {
    const std::string t = Trim(text);
    size_t used = 0;
    const double v = std::stod(t, &used);
    if (t.empty() || used != t.size()) throw std::runtime_error("not a number: '" + text + "'");
    return v;
}

namespace {

std::string Normalised(std::string name) {
    for (char& c : name) c = c == ' ' ? '_' : c == '-' ? 'D' : c;
    return name;
}

// The six numbers after the bone name, from the character two after the
// closing quote, by the loader's field positions.
HitBox ReadHitBox(const std::string& line) {
    const size_t q1 = line.find('"'), q2 = line.find('"', q1 + 1);
    if (q1 == std::string::npos || q2 == std::string::npos) throw std::runtime_error("hit box without a name: " + line);
    HitBox box;
    box.bone = Normalised(Trim(line.substr(q1 + 1, q2 - q1 - 1)));
    double f[6];
    size_t start = q2 + 2;
    for (int i = 0; i < 6; ++i) {
        const size_t end = i == 5 ? line.size() : line.find(' ', start);
        if (end == std::string::npos) throw std::runtime_error("hit box too short: " + line);
        f[i] = Number(line.substr(start, end - start));
        start = end + (i == 2 ? 2 : 1);
    }
    box.min[1] = f[0], box.min[0] = f[1], box.min[2] = f[2];
    box.max[1] = f[3], box.max[0] = f[4], box.max[2] = f[5];
    return box;
}

}  // namespace

ModelDescription ReadModelDescription(const std::string& relative) {
    const std::vector<std::string> lines = ReadLines(relative);
    ModelDescription d;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.find("$hbox") != std::string::npos) {
            d.hit_boxes.push_back(ReadHitBox(line));
            d.last_hbox_line = int(i);
        } else if (line.find("$bodygroup") != std::string::npos) {
            if (d.first_bodygroup_line < 0) d.first_bodygroup_line = int(i);
            ++i;  // the "{"
            while (true) {
                if (i >= lines.size()) throw std::runtime_error("body group without \"}\"");
                if (lines[i] == "}") break;
                if (++i >= lines.size()) throw std::runtime_error("body group without \"}\"");
                if (lines[i].find("studio") != std::string::npos) {
                    std::string name = lines[i].substr(lines[i].find(' ') + 1);
                    std::erase(name, '"');
                    d.meshes.push_back(name);
                }
            }
        } else if (line.find("$sequence") != std::string::npos) {
            const size_t q1 = line.find('"'), q2 = line.find('"', q1 + 1);
            if (q1 == std::string::npos || q2 == std::string::npos) throw std::runtime_error("unnamed sequence");
            d.sequences.push_back(Trim(line.substr(q1 + 1, q2 - q1 - 1)));
        }
    }
    return d;
}

SmdFile ReadSmd(const std::string& relative) {
    std::vector<std::string> lines = ReadLines(relative);
    for (std::string& l : lines) l = Trim(l);
    SmdFile smd;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "nodes") {
            for (++i; i < lines.size() && lines[i] != "end"; ++i) {
                const size_t q1 = lines[i].find('"'), q2 = lines[i].find('"', q1 + 1);
                smd.nodes.push_back(
                    {Normalised(lines[i].substr(q1 + 1, q2 - q1 - 1)), std::stoi(Trim(lines[i].substr(q2 + 1)))});
            }
        } else if (lines[i].find("time") != std::string::npos) {
            smd.times.push_back(std::stoi(Trim(lines[i].substr(lines[i].find(' ')))));
            smd.blocks.emplace_back();
            for (; i + 1 < lines.size() && lines[i + 1].find("time") == std::string::npos && lines[i + 1] != "end";
                 ++i) {
                const std::vector<std::string> f = Fields(lines[i + 1]);
                if (f.size() != 7) throw std::runtime_error("key line of " + std::to_string(f.size()) + " fields");
                SmdKey key{std::stoi(f[0]), {}};
                for (int k = 0; k < 6; ++k) key.v[k] = Number(f[k + 1]);
                smd.blocks.back().push_back(key);
            }
        } else if (lines[i] == "triangles") {
            for (++i; i < lines.size() && lines[i] != "end"; i += 4) {
                smd.textures.push_back(lines[i]);
                for (int c = 1; c <= 3; ++c) {
                    const std::vector<std::string> f = Fields(lines.at(i + c));
                    if (f.size() != 9)
                        throw std::runtime_error("vertex line of " + std::to_string(f.size()) + " fields");
                    SmdVertex v{std::stoi(f[0]), {}};
                    for (int k = 0; k < 8; ++k) v.v[k] = Number(f[k + 1]);
                    smd.vertices.push_back(v);
                }
            }
        }
    }
    return smd;
}

std::string SetName(const std::string& file) {
    const size_t p = file.find("blend");
    return p == std::string::npos ? file : file.substr(0, p - 1);
}

int FindSet(const std::vector<std::string>& set_names, const std::string& request) {
    for (size_t i = 0; i < set_names.size(); ++i)
        if (request.find(set_names[i]) != std::string::npos) return int(i);
    return 0;
}

}  // namespace data_test
