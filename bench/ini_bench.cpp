// Parse + 200 lookups + a 170-key save on a generated server.ini of 10 KB and of 1 MB, for our
// accessor and for other INI readers/writers doing the same work. Prints medians in ms.
#include <glib.h>
#include <ini.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
// Debian builds SimpleIni against ICU.
#define SI_CONVERT_ICU
#include <SimpleIni.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "settings/IniAccessor.h"

using namespace quorvant;

namespace {

struct Entry {
    std::string section;
    std::string key;
    std::string value;
};

struct Workload {
    QByteArray bytes;
    std::vector<Entry> lookups;  // 200 keys spread over the whole file
    std::vector<Entry> writes;   // 160 existing keys with new values, 10 new keys
};

Workload Generate(qsizetype targetSize) {
    Workload work;
    std::vector<Entry> all;
    QByteArray& out = work.bytes;
    // "#" comments: GKeyFile refuses ";" ones, and every library here skips "#" lines.
    out += "# Server settings\r\n\r\n";
    for (int s = 0; out.size() < targetSize; ++s) {
        const std::string section = "Section" + std::to_string(s);
        out += "[" + QByteArray::fromStdString(section) + "]\r\n";
        if (s % 3 == 0) out += "# settings of " + QByteArray::fromStdString(section) + "\r\n";
        for (int k = 0; k < 20; ++k) {
            Entry e{section, "Key" + std::to_string(k), "value " + std::to_string(s * 100 + k) + " C:\\Valdor\\x"};
            out += QByteArray::fromStdString(e.key + "=" + e.value) + "\r\n";
            all.push_back(e);
        }
        out += "\r\n";
    }
    for (int i = 0; i < 200; ++i) work.lookups.push_back(all[size_t(i) * all.size() / 200]);
    for (int i = 0; i < 160; ++i) {
        Entry e = all[(size_t(i) * all.size() / 160 + 7) % all.size()];
        e.value = "changed " + std::to_string(i);
        work.writes.push_back(e);
    }
    for (int i = 0; i < 10; ++i)
        work.writes.push_back(
            {all[size_t(i) * all.size() / 10].section, "NewKey" + std::to_string(i), std::to_string(i)});
    return work;
}

// Wall time and this thread's CPU time: the machine may be busy with other work, which shows in
// the wall time only. Saves also wait for the disk (fsync), which shows in the wall time only.
struct Instant {
    double wall;
    double cpu;
};
Instant Now() {
    timespec w, c;
    clock_gettime(CLOCK_MONOTONIC, &w);
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c);
    return {w.tv_sec * 1e3 + w.tv_nsec / 1e6, c.tv_sec * 1e3 + c.tv_nsec / 1e6};
}
struct Span {
    double wall = -1;
    double cpu = -1;
};
Span Ms(Instant a, Instant b) { return {b.wall - a.wall, b.cpu - a.cpu}; }
struct Times {
    Span parse, lookup, save;
};

// One library doing the three steps on a file; returns -1 for a step it cannot do.
using Runner = std::function<Times(const QString& path, const Workload& work)>;

size_t g_sink = 0;  // printed at the end so lookups are not optimised away

Times RunOurs(const QString& path, const Workload& work) {
    Times t;
    IniAccessor ini;
    ini.SetFile(path);
    auto t0 = Now();
    ini.SetSection("Section0");
    ini.SetKey("Key0");
    g_sink += ini.ReadValue().size();  // the first read parses the file
    auto t1 = Now();
    for (const Entry& e : work.lookups) {
        ini.SetSection(QString::fromStdString(e.section));
        ini.SetKey(QString::fromStdString(e.key));
        g_sink += ini.ReadValue().size();
    }
    auto t2 = Now();
    {
        IniSave save(ini);
        for (const Entry& e : work.writes) {
            ini.SetSection(QString::fromStdString(e.section));
            ini.SetKey(QString::fromStdString(e.key));
            ini.WriteValue(QString::fromStdString(e.value));
        }
        save.Commit();
    }
    auto t3 = Now();
    t.parse = Ms(t0, t1);
    t.lookup = Ms(t1, t2);
    t.save = Ms(t2, t3);
    return t;
}

Times RunQSettings(const QString& path, const Workload& work) {
    Times t;
    auto t0 = Now();
    QSettings settings(path, QSettings::IniFormat);
    g_sink += settings.value("Section0/Key0").toString().size();  // QSettings parses on first access
    auto t1 = Now();
    for (const Entry& e : work.lookups)
        g_sink += settings.value(QString::fromStdString(e.section + "/" + e.key)).toString().size();
    auto t2 = Now();
    for (const Entry& e : work.writes)
        settings.setValue(QString::fromStdString(e.section + "/" + e.key), QString::fromStdString(e.value));
    settings.sync();
    auto t3 = Now();
    t.parse = Ms(t0, t1);
    t.lookup = Ms(t1, t2);
    t.save = Ms(t2, t3);
    return t;
}

Times RunSimpleIni(const QString& path, const Workload& work) {
    Times t;
    const std::string file = QFile::encodeName(path).toStdString();
    auto t0 = Now();
    CSimpleIniA ini(true, false, false);
    if (ini.LoadFile(file.c_str()) < 0) return {};
    auto t1 = Now();
    for (const Entry& e : work.lookups) {
        const char* v = ini.GetValue(e.section.c_str(), e.key.c_str(), "");
        g_sink += std::strlen(v);
    }
    auto t2 = Now();
    for (const Entry& e : work.writes) ini.SetValue(e.section.c_str(), e.key.c_str(), e.value.c_str());
    if (ini.SaveFile(file.c_str()) < 0) return {};
    auto t3 = Now();
    t.parse = Ms(t0, t1);
    t.lookup = Ms(t1, t2);
    t.save = Ms(t2, t3);
    return t;
}

// inih only reads: the parse fills a case-insensitive map the way its INIReader does.
using InihMap = std::unordered_map<std::string, std::string>;
std::string InihName(const char* section, const char* key) {
    std::string name = std::string(section) + '=' + key;
    std::transform(name.begin(), name.end(), name.begin(), ::tolower);
    return name;
}
int InihHandler(void* user, const char* section, const char* key, const char* value) {
    static_cast<InihMap*>(user)->emplace(InihName(section, key), value);
    return 1;
}

Times RunInih(const QString& path, const Workload& work) {
    Times t;
    const std::string file = QFile::encodeName(path).toStdString();
    auto t0 = Now();
    InihMap map;
    if (ini_parse(file.c_str(), InihHandler, &map) < 0) return {};
    auto t1 = Now();
    for (const Entry& e : work.lookups) {
        const auto it = map.find(InihName(e.section.c_str(), e.key.c_str()));
        g_sink += it == map.end() ? 0 : it->second.size();
    }
    auto t2 = Now();
    t.parse = Ms(t0, t1);
    t.lookup = Ms(t1, t2);
    return t;
}

Times RunGKeyFile(const QString& path, const Workload& work) {
    Times t;
    const std::string file = QFile::encodeName(path).toStdString();
    auto t0 = Now();
    GKeyFile* keys = g_key_file_new();
    if (!g_key_file_load_from_file(keys, file.c_str(), G_KEY_FILE_KEEP_COMMENTS, nullptr)) {
        g_key_file_free(keys);
        return {};
    }
    auto t1 = Now();
    for (const Entry& e : work.lookups) {
        gchar* v = g_key_file_get_value(keys, e.section.c_str(), e.key.c_str(), nullptr);
        g_sink += v ? std::strlen(v) : 0;
        g_free(v);
    }
    auto t2 = Now();
    for (const Entry& e : work.writes) g_key_file_set_value(keys, e.section.c_str(), e.key.c_str(), e.value.c_str());
    const bool saved = g_key_file_save_to_file(keys, file.c_str(), nullptr);
    auto t3 = Now();
    g_key_file_free(keys);
    if (!saved) return {};
    t.parse = Ms(t0, t1);
    t.lookup = Ms(t1, t2);
    t.save = Ms(t2, t3);
    return t;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString Cell(double ms) { return ms < 0 ? QStringLiteral("–") : QString::number(ms, 'f', ms < 10 ? 2 : 1); }

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("server.ini");
    QTextStream out(stdout);

    struct Size {
        const char* name;
        qsizetype bytes;
        int runs;
    };
    const Size sizes[] = {{"10 KB", 10 * 1024, 31}, {"1 MB", 1024 * 1024, 9}};
    const std::pair<const char*, Runner> libraries[] = {
        {"IniAccessor (ours)", RunOurs}, {"QSettings (IniFormat)", RunQSettings},
        {"SimpleIni", RunSimpleIni},     {"inih (ini_parse)", RunInih},
        {"GKeyFile", RunGKeyFile},
    };

    out << "Median of N runs, ms, as wall / CPU of this thread. parse = open and parse (first read); "
           "lookups = 200 reads; save = 170 writes (160 existing, 10 new) and writing the file.\n\n";
    for (const Size& size : sizes) {
        const Workload work = Generate(size.bytes);
        out << "### server.ini " << size.name << " (" << work.bytes.size() << " bytes, " << size.runs << " runs)\n\n"
            << "| library | parse | 200 lookups | 170-key save | total |\n|---|---:|---:|---:|---:|\n";
        for (const auto& [name, run] : libraries) {
            std::vector<double> wall[4], cpu[4];
            for (int r = 0; r < size.runs; ++r) {
                QFile::remove(path);
                QFile f(path);
                if (!f.open(QIODevice::WriteOnly) || f.write(work.bytes) != work.bytes.size()) return 1;
                f.close();
                const Times t = run(path, work);
                const Span spans[3] = {t.parse, t.lookup, t.save};
                double totalWall = 0, totalCpu = 0;
                for (int i = 0; i < 3; ++i) {
                    wall[i].push_back(spans[i].wall);
                    cpu[i].push_back(spans[i].cpu);
                    if (spans[i].wall >= 0) totalWall += spans[i].wall, totalCpu += spans[i].cpu;
                }
                wall[3].push_back(totalWall);
                cpu[3].push_back(totalCpu);
            }
            out << "| " << name;
            for (int i = 0; i < 4; ++i) out << " | " << Cell(Median(wall[i])) << " / " << Cell(Median(cpu[i]));
            out << (Median(wall[2]) < 0 ? " (no save)" : "") << " |\n";
            out.flush();
        }
        out << "\n";
    }
    out << "(checksum " << g_sink << ")\n";
    return 0;
}
