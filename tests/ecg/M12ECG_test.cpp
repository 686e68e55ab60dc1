// The ECG record: accessors and their bounds, lead assignment, QRS list, packing, streaming and
// cloning.
#include "ecg/M12ECG.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace ecg {
namespace {

// A record of leads x (sec x freq) samples of the given type, filled with data.
std::unique_ptr<TM12ECGObj> MakeRecord(std::uint8_t leads, std::uint16_t sec, std::uint16_t freq,
                                       std::uint8_t type, const TUnPackedECG &data) {
    auto record = std::make_unique<TM12ECGObj>();
    record->SetECGType(type);
    record->SetECGSize(leads, sec, freq);
    EXPECT_TRUE(record->AssignECG(data));
    return record;
}

smallint_array Lead(const TM12ECGObj &record, std::uint8_t lead) {
    smallint_array samples;
    for (std::int32_t i = 1; i <= record.GetLenghtECG(); ++i) {
        samples.push_back(record.GetECG(lead, i));
    }
    return samples;
}

byte_array Saved(TM12ECGObj &record, bool packed) {
    rtl::TMemoryStream stream;
    const std::int32_t written = record.SaveToStreamECG(stream, packed);
    EXPECT_EQ(written, stream.GetSize());
    const std::uint8_t *memory = stream.GetMemory();
    return memory == nullptr ? byte_array{} : byte_array(memory, memory + stream.GetSize());
}

// Random leads whose steps stay within the packed code's 255 units.
TUnPackedECG RandomLeads(std::size_t leads, std::size_t samples, std::uint32_t seed, int maxStep) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> start(-2000, 2000);
    std::uniform_int_distribution<int> step(-maxStep, maxStep);
    TUnPackedECG data(leads, smallint_array(samples));
    for (smallint_array &lead : data) {
        int v = start(random);
        for (std::int16_t &s : lead) {
            s = static_cast<std::int16_t>(v);
            v = std::clamp(v + step(random), -32768, 32767);
        }
    }
    return data;
}

TEST(M12ECG, NewRecordIsUntypedAndEmpty) {
    TM12ECGObj record;
    EXPECT_EQ(record.GetECGType(), 255);
    EXPECT_EQ(record.GetLeadsCount(), 0);
    EXPECT_EQ(record.GetFrequency(), 0);
    EXPECT_EQ(record.GetLenghtECG(), 0);
    EXPECT_FALSE(record.GetECGChanged());
    EXPECT_FALSE(record.GetChanged());
    EXPECT_EQ(record.GetQRSCount(), 0);
    EXPECT_EQ(record.GetECG(1, 1), 0);
    EXPECT_EQ(record.GetLeads(1), 0);
}

TEST(M12ECG, FrequencyZeroIsTakenAs250) {
    TM12ECGObj record;
    record.SetECGSize(12, 10, 0);
    EXPECT_EQ(record.GetFrequency(), 250);
    EXPECT_EQ(record.GetLenghtECG(), 2500);
    EXPECT_EQ(record.GetLenghtECGSec(), 10);
    EXPECT_TRUE(record.GetECGChanged());
    EXPECT_EQ(record.GetECG(12, 2500), 0);
}

TEST(M12ECG, GetECGBounds) {
    TUnPackedECG data = RandomLeads(3, 20, 1, 100);
    auto record = MakeRecord(3, 2, 10, 0, data);
    struct Case {
        std::uint8_t lead;
        std::int32_t offset;
        std::int16_t expected;
    };
    const Case cases[] = {
        {0, 1, 0},
        {4, 1, 0},
        {1, 0, 0},
        {1, 21, 0},
        {1, -1, 0},
        {1, 1, data[0][0]},
        {1, 20, data[0][19]},
        {3, 20, data[2][19]},
        {2, 7, data[1][6]},
        {255, 5, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(record->GetECG(c.lead, c.offset), c.expected)
            << "lead " << int(c.lead) << " offset " << c.offset;
    }
}

TEST(M12ECG, FilterSwitchesToTheFilteredCopy) {
    TUnPackedECG data = RandomLeads(2, 10, 2, 50);
    auto record = MakeRecord(2, 1, 10, 0, data);
    record->SetFilter(true);
    EXPECT_EQ(Lead(*record, 1), smallint_array(10, 0));
    TUnPackedECG filtered(2, smallint_array(10, 7));
    EXPECT_TRUE(record->AssignFECG(filtered));
    EXPECT_EQ(Lead(*record, 2), smallint_array(10, 7));
    record->SetFilter(false);
    EXPECT_EQ(Lead(*record, 2), data[1]);
}

TEST(M12ECG, AssignOfAnotherShapeIsRefusedAndChangesNothing) {
    TUnPackedECG data = RandomLeads(12, 30, 3, 50);
    auto record = MakeRecord(12, 3, 10, 0, data);
    TUnPackedECG elevenLeads(11, smallint_array(30, 1));
    TUnPackedECG oneShort(12, smallint_array(30, 1));
    oneShort[5].pop_back();
    TUnPackedECG oneLong(12, smallint_array(30, 1));
    oneLong[11].push_back(1);
    for (const TUnPackedECG *wrong : {&elevenLeads, &oneShort, &oneLong}) {
        EXPECT_FALSE(record->AssignECG(*wrong));
        EXPECT_FALSE(record->AssignFECG(*wrong));
    }
    for (std::uint8_t lead = 1; lead <= 12; ++lead) {
        EXPECT_EQ(Lead(*record, lead), data[lead - 1]);
    }
}

TEST(M12ECG, LeadAssignmentBounds) {
    TM12ECGObj record;
    record.SetECGSize(6, 1, 10);
    record.SetLeads(5, 16);
    record.SetLeads(7, 3);
    record.SetLeads(0, 3);
    record.SetLeads(2, 15);
    record.SetSortedLeads(6, 4);
    EXPECT_EQ(record.GetLeads(5), 0);
    EXPECT_EQ(record.GetLeads(7), 0);
    EXPECT_EQ(record.GetLeads(0), 0);
    EXPECT_EQ(record.GetLeads(2), 15);
    EXPECT_EQ(record.GetSortedLeads(6), 4);
    EXPECT_EQ(record.GetSortedLeads(2), 0);
}

// Channels beyond 12 have no slot in the twelve-entry tables; they used to be read and
// written past them when a record had more than twelve leads.
TEST(M12ECG, LeadAssignmentBeyondTwelveChannelsIsOutside) {
    TM12ECGObj record;
    record.SetECGSize(15, 1, 3);
    record.SetLeads(13, 1);
    EXPECT_EQ(record.GetLeads(13), 0);
    EXPECT_EQ(record.GetSortedLeads(15), 0);
}

TEST(M12ECG, QRSList) {
    TM12ECGObj record;
    EXPECT_EQ(record.AddQRS(), 0);
    auto qrs = std::make_unique<TQRSInfoObj>();
    qrs->SetPosition(1234);
    EXPECT_EQ(record.AddQRSE(std::move(qrs)), 1);
    EXPECT_EQ(record.GetQRSCount(), 2);
    EXPECT_EQ(record.GetQRS(0)->GetPosition(), 0);
    EXPECT_EQ(record.GetQRS(1)->GetPosition(), 1234);
    EXPECT_EQ(record.GetQRS(-1), nullptr);
    EXPECT_EQ(record.GetQRS(2), nullptr);
    record.DeleteQRS(2);
    record.DeleteQRS(-1);
    EXPECT_EQ(record.GetQRSCount(), 2);
    record.DeleteQRS(0);
    EXPECT_EQ(record.GetQRS(0)->GetPosition(), 1234);
    record.AddQRS();
    record.ClearQRSList();
    EXPECT_EQ(record.GetQRSCount(), 0);
}

TEST(M12ECG, TypeChangeToOrFrom20DiscardsTheSamples) {
    TUnPackedECG data = RandomLeads(12, 10, 4, 50);
    for (const auto &[from, to, kept] : {std::tuple{0, 20, false}, std::tuple{20, 0, false},
                                         std::tuple{0, 15, true}, std::tuple{20, 20, false}}) {
        auto record = MakeRecord(12, 1, 10, static_cast<std::uint8_t>(from), data);
        record->SetECGType(static_cast<std::uint8_t>(to));
        EXPECT_EQ(record->GetECGType(), to);
        EXPECT_EQ(Lead(*record, 7), kept ? data[6] : smallint_array(10, 0)) << from << "->" << to;
    }
}

// Lengthening through correctECGLength used to let reads run past the lead buffers.
TEST(M12ECG, CorrectECGLengthNeverReadsBeyondTheBuffers) {
    TUnPackedECG data = RandomLeads(1, 20, 5, 50);
    auto record = MakeRecord(1, 2, 10, 0, data);
    record->correctECGLength(1);
    EXPECT_EQ(record->GetLenghtECG(), 10);
    EXPECT_EQ(record->GetECG(1, 10), data[0][9]);
    EXPECT_EQ(record->GetECG(1, 11), 0);
    record->correctECGLength(0x10005);
    EXPECT_EQ(record->GetLenghtECGSec(), 5);
    EXPECT_EQ(record->GetLenghtECG(), 50);
    EXPECT_EQ(record->GetECG(1, 20), data[0][19]);
    EXPECT_EQ(record->GetECG(1, 21), 0);
    EXPECT_EQ(record->GetECG(1, 50), 0);
}

TEST(M12ECG, AbstractStreamingRaises) {
    TM12ECGObj record;
    rtl::TMemoryStream stream;
    EXPECT_THROW(record.LoadFromStream(stream), rtl::Exception);
    EXPECT_THROW(record.SaveToStream(stream), rtl::Exception);
}

// A size whose sample count does not fit 32 bits used to wrap; it is an allocation failure
// reported through the handler, and the record stays usable but empty.
TEST(M12ECG, AllocationFailureReportsAndLeavesAnEmptyRecord) {
    std::vector<rtl::UnicodeString> messages;
    SetGetMemErrorHandler([&](const rtl::UnicodeString &m) { messages.push_back(m); });
    TM12ECGObj record;
    record.SetECGSize(12, 65535, 65535);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], u"GetMemError <PackedECG>!");
    EXPECT_EQ(record.GetLenghtECG(), 0);
    EXPECT_EQ(record.GetECG(1, 1), 0);
    EXPECT_FALSE(record.AssignECG(TUnPackedECG(12, smallint_array(1))));
    rtl::TMemoryStream stream;
    EXPECT_EQ(record.SaveToStreamECG(stream, true), 0);
    SetGetMemErrorHandler(nullptr);
}

// Packing --------------------------------------------------------------------------------------

TEST(PackedECG, SmallExamplePacksToFlagAndSteps) {
    auto record = MakeRecord(1, 1, 3, 0, {{100, 105, 95}});
    EXPECT_EQ(Saved(*record, true), (byte_array{0x04, 0x00, 0x05, 0x0A}));
    TM12ECGObj clone;
    clone.Clone(*record);
    EXPECT_EQ(Lead(clone, 1), (smallint_array{0, 5, -5}));
}

TEST(PackedECG, PackedLeadSizes) {
    struct Case {
        std::uint16_t sec;
        std::uint16_t freq;
        std::size_t bytes;
    };
    for (const Case c : {Case{1, 1, 2}, Case{1, 8, 9}, Case{1, 9, 11}, Case{10, 250, 2813},
                         Case{300, 250, 84375}}) {
        TM12ECGObj record;
        record.SetECGSize(1, c.sec, c.freq);
        EXPECT_EQ(Saved(record, true).size(), c.bytes) << c.sec * c.freq << " samples";
    }
}

TEST(PackedECG, ConstantLeadPacksToZerosAndUnpacksToZeros) {
    auto record = MakeRecord(1, 1, 20, 0, {smallint_array(20, -321)});
    EXPECT_EQ(Saved(*record, true), byte_array(23, 0));
    TM12ECGObj clone;
    clone.Clone(*record);
    EXPECT_EQ(Lead(clone, 1), smallint_array(20, 0));
}

TEST(PackedECG, LargeStepIsFollowedAt255PerSample) {
    auto record = MakeRecord(1, 1, 6, 0, {{0, 600, 600, 600, 600, 600}});
    EXPECT_EQ(Saved(*record, true), (byte_array{0x00, 0, 255, 255, 90, 0, 0}));
    TM12ECGObj clone;
    clone.Clone(*record);
    EXPECT_EQ(Lead(clone, 1), (smallint_array{0, 255, 510, 600, 600, 600}));
}

TEST(PackedECG, NineSamplesMakeTwoGroups) {
    auto record = MakeRecord(1, 1, 9, 0, {{0, -1, -2, -3, -4, -5, -6, -7, -8}});
    EXPECT_EQ(Saved(*record, true), (byte_array{0xFE, 0, 1, 1, 1, 1, 1, 1, 1, 0x01, 1}));
}

TEST(PackedECG, StandardRecordDerivesIIIAndAVL) {
    TUnPackedECG data = RandomLeads(12, 500, 6, 60);
    auto record = MakeRecord(12, 2, 250, 0, data);
    EXPECT_EQ(Saved(*record, true).size(), 10u * (500 + 63));
    TM12ECGObj clone;
    clone.Clone(*record);
    for (std::int32_t i = 1; i <= 500; ++i) {
        const auto at = [&](std::uint8_t lead) { return clone.GetECG(lead, i); };
        EXPECT_EQ(at(3), static_cast<std::int16_t>(at(2) - at(1)));
        EXPECT_EQ(at(5), static_cast<std::int16_t>(-at(4) - at(6)));
        for (std::uint8_t lead : {1, 2, 4, 6, 7, 8, 9, 10, 11, 12}) {
            ASSERT_EQ(at(lead), data[lead - 1][i - 1] - data[lead - 1][0]);
        }
    }
}

TEST(PackedECG, Type20RecordKeepsAllTwelveLeads) {
    TUnPackedECG data = RandomLeads(12, 100, 7, 255);
    auto record = MakeRecord(12, 1, 100, 20, data);
    EXPECT_EQ(Saved(*record, true).size(), 12u * (100 + 13));
    TM12ECGObj clone;
    clone.Clone(*record);
    for (std::uint8_t lead = 1; lead <= 12; ++lead) {
        for (std::int32_t i = 1; i <= 100; ++i) {
            ASSERT_EQ(clone.GetECG(lead, i), data[lead - 1][i - 1] - data[lead - 1][0]);
        }
    }
}

TEST(PackedECG, DerivedLeadsWrapAt16Bits) {
    smallint_array ramp(240);
    TUnPackedECG data(12, smallint_array(240, 0));
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        data[0][i] = static_cast<std::int16_t>(-std::min<int>(static_cast<int>(i) * 250, 30000));
        data[1][i] = static_cast<std::int16_t>(std::min<int>(static_cast<int>(i) * 250, 30000));
    }
    auto record = MakeRecord(12, 1, 240, 0, data);
    TM12ECGObj clone;
    clone.Clone(*record);
    EXPECT_EQ(clone.GetECG(3, 240), static_cast<std::int16_t>(60000 - 65536));
}

TEST(PackedECG, CloneCopiesTheHeaderAndEmptiesFilteredLeadsAndQRSList) {
    TUnPackedECG data = RandomLeads(12, 250, 8, 100);
    auto record = MakeRecord(12, 1, 250, 0, data);
    record->SetInputDateTime(41299.5);
    record->SetElectrodesControl(true);
    record->SetStrok(6);
    record->SetNeb(1);
    record->SetLeads(3, 9);
    record->SetSortedLeads(4, 2);
    record->VisLead = 7;
    record->AssignFECG(TUnPackedECG(12, smallint_array(250, 3)));
    TM12ECGObj clone;
    clone.AddQRS();
    clone.Clone(*record);
    EXPECT_EQ(clone.GetECGType(), 0);
    EXPECT_EQ(clone.GetLeadsCount(), 12);
    EXPECT_EQ(clone.GetFrequency(), 250);
    EXPECT_EQ(clone.GetLenghtECGSec(), 1);
    EXPECT_DOUBLE_EQ(clone.GetInputDateTime(), 41299.5);
    EXPECT_TRUE(clone.GetElectrodesControl());
    EXPECT_EQ(clone.GetStrok(), 6);
    EXPECT_EQ(clone.GetNeb(), 1);
    EXPECT_EQ(clone.GetLeads(3), 9);
    EXPECT_EQ(clone.GetSortedLeads(4), 2);
    EXPECT_EQ(clone.VisLead, 7);
    EXPECT_EQ(clone.GetQRSCount(), 0);
    clone.SetFilter(true);
    EXPECT_EQ(Lead(clone, 7), smallint_array(250, 0));
}

TEST(RecordStreaming, RawRoundTripIsExact) {
    TUnPackedECG data = RandomLeads(12, 300, 9, 5000);
    auto record = MakeRecord(12, 1, 300, 0, data);
    const byte_array raw = Saved(*record, false);
    ASSERT_EQ(raw.size(), 12u * 300 * 2);
    EXPECT_EQ(raw[0], static_cast<std::uint8_t>(data[0][0] & 0xFF));
    EXPECT_EQ(raw[1], static_cast<std::uint8_t>((data[0][0] >> 8) & 0xFF));
    TM12ECGObj copy;
    copy.SetECGSize(12, 1, 300);
    rtl::TMemoryStream stream;
    stream.WriteBuffer(raw.data(), static_cast<std::int32_t>(raw.size()));
    stream.SetPosition(0);
    EXPECT_EQ(copy.LoadFromStreamECG(stream, false), static_cast<std::int32_t>(raw.size()));
    for (std::uint8_t lead = 1; lead <= 12; ++lead) {
        EXPECT_EQ(Lead(copy, lead), data[lead - 1]);
    }
}

TEST(RecordStreaming, PackedRoundTripOfSynthesisedRecords) {
    struct Case {
        std::uint8_t leads;
        std::uint8_t type;
        std::uint16_t sec;
        std::uint16_t freq;
    };
    for (const Case c : {Case{12, 0, 2, 500}, Case{12, 20, 1, 257}, Case{6, 15, 3, 100},
                         Case{1, 0, 1, 1}, Case{3, 4, 1, 17}}) {
        const auto n = static_cast<std::size_t>(c.sec) * c.freq;
        TUnPackedECG data = RandomLeads(c.leads, n, c.freq, 255);
        auto record = MakeRecord(c.leads, c.sec, c.freq, c.type, data);
        const byte_array packed = Saved(*record, true);
        TM12ECGObj copy;
        copy.SetECGType(c.type);
        copy.SetECGSize(c.leads, c.sec, c.freq);
        rtl::TMemoryStream stream;
        stream.WriteBuffer(packed.data(), static_cast<std::int32_t>(packed.size()));
        stream.SetPosition(0);
        ASSERT_EQ(copy.LoadFromStreamECG(stream, true), static_cast<std::int32_t>(packed.size()));
        for (std::uint8_t lead = 1; lead <= c.leads; ++lead) {
            if (c.leads == 12 && c.type != 20 && (lead == 3 || lead == 5)) {
                continue;
            }
            for (std::size_t i = 0; i < n; ++i) {
                ASSERT_EQ(copy.GetECG(lead, static_cast<std::int32_t>(i + 1)),
                          data[lead - 1][i] - data[lead - 1][0])
                    << int(c.leads) << " leads, type " << int(c.type);
            }
        }
        EXPECT_EQ(Saved(copy, true), packed);
    }
}

TEST(RecordStreaming, LoadFromAStreamThatEndsEarlyLeavesNoSamples) {
    TUnPackedECG data = RandomLeads(2, 50, 10, 100);
    auto record = MakeRecord(2, 1, 50, 0, data);
    for (const bool packed : {true, false}) {
        byte_array bytes = Saved(*record, packed);
        bytes.pop_back();
        rtl::TMemoryStream stream;
        stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
        stream.SetPosition(0);
        TM12ECGObj copy;
        copy.SetECGSize(2, 1, 50);
        EXPECT_EQ(copy.LoadFromStreamECG(stream, packed), 0);
        EXPECT_EQ(copy.GetLenghtECG(), 0);
        EXPECT_EQ(copy.GetECG(1, 1), 0);
    }
}

// Changing LeadsCount directly leaves the buffers as they were; saving and cloning must not
// read past them.
TEST(RecordStreaming, HeaderThatDisagreesWithTheBuffersSavesNothing) {
    auto record = MakeRecord(2, 1, 10, 0, RandomLeads(2, 10, 11, 10));
    record->SetLeadsCount(5);
    EXPECT_EQ(Saved(*record, true).size(), 0u);
    EXPECT_EQ(Saved(*record, false).size(), 0u);
    EXPECT_EQ(record->GetECG(5, 1), 0);
    TM12ECGObj clone;
    clone.Clone(*record);
    EXPECT_EQ(clone.GetLenghtECG(), 0);
}

TEST(QRSInfo, NewDescriptorIsZeroAndLevelsAreBounded) {
    TQRSInfoObj qrs;
    EXPECT_EQ(qrs.GetPosition(), 0);
    EXPECT_EQ(qrs.GetMigr(), 0);
    qrs.SetSTLevel(1, -5);
    qrs.SetSTLevel(12, 7);
    qrs.SetSTLevel(0, 9);
    qrs.SetSTLevel(13, 9);
    qrs.SetToLevel(12, 200);
    EXPECT_EQ(qrs.GetSTLevel(1), -5);
    EXPECT_EQ(qrs.GetSTLevel(12), 7);
    EXPECT_EQ(qrs.GetSTLevel(0), 0);
    EXPECT_EQ(qrs.GetSTLevel(13), 0);
    EXPECT_EQ(qrs.GetToLevel(12), 200);
    EXPECT_EQ(qrs.GetToLevel(2), 0);
}

TEST(QRSInfo, StoredFormIs56LittleEndianBytes) {
    TQRSInfoObj qrs;
    qrs.SetPosition(0x01020304);
    qrs.SetK_t(-2);
    qrs.SetLength(0x0506);
    qrs.SetQRS(7);
    qrs.SetPq0(8);
    qrs.SetdQT(-3);
    qrs.Setal_T(0x0A0B);
    qrs.SetP_max(9);
    qrs.SetMigr(10);
    qrs.SetSTLevel(1, -1);
    qrs.SetToLevel(12, 0xAB);
    rtl::TMemoryStream stream;
    ASSERT_EQ(qrs.SaveToStreamECG(stream), 56);
    ASSERT_EQ(stream.GetSize(), 56);
    const std::uint8_t *b = stream.GetMemory();
    EXPECT_EQ(b[0], 0x04);
    EXPECT_EQ(b[3], 0x01);
    EXPECT_EQ(b[12], 0xFE);
    EXPECT_EQ(b[15], 0xFF);
    EXPECT_EQ(b[16], 0x06);
    EXPECT_EQ(b[17], 0x05);
    EXPECT_EQ(b[18], 7);
    EXPECT_EQ(b[23], 8);
    EXPECT_EQ(b[24], 0xFD);
    EXPECT_EQ(b[28], 0x0B);
    EXPECT_EQ(b[30], 9);
    EXPECT_EQ(b[31], 10);
    EXPECT_EQ(b[32], 0xFF);
    EXPECT_EQ(b[55], 0xAB);
    stream.SetPosition(0);
    TQRSInfoObj loaded;
    EXPECT_EQ(loaded.LoadFromStreamECG(stream), 56);
    EXPECT_EQ(loaded.GetPosition(), 0x01020304);
    EXPECT_EQ(loaded.GetdQT(), -3);
    EXPECT_EQ(loaded.GetToLevel(12), 0xAB);
}

TEST(QRSInfo, ShortReadGivesZero) {
    rtl::TMemoryStream stream;
    const byte_array bytes(55, 1);
    stream.WriteBuffer(bytes.data(), 55);
    stream.SetPosition(0);
    TQRSInfoObj qrs;
    EXPECT_EQ(qrs.LoadFromStreamECG(stream), 0);
    EXPECT_EQ(qrs.GetPosition(), 0);
}

} // namespace
} // namespace ecg
