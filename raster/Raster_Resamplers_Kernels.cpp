// The filter kernels: their functions, windows, published parameters and class registry.
#include "raster/Raster_Resamplers.h"

#include <algorithm>
#include <cmath>

namespace raster {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Single-precision powers of a.
inline float Sq(float a) {
    return a * a;
}
inline float Cube(float a) {
    return Sq(a) * a;
}

float Sinc(float v) {
    if (v == 0) {
        return 1;
    }
    const double x = kPi * double(v);
    return float(std::sin(x) / x);
}

// The Albrecht window's cosine coefficients for 2 to 11 terms.
const double kAlbrechtCoefficients[10][11] = {
    {0.5383553946707251, 0.4616446053292749},
    {0.346100822018625, 0.497340635096738, 0.156558542884637},
    {0.226982412792069, 0.457254070828427, 0.273199027957384, 0.0425644884221201},
    {0.14894260601583, 0.386001173639176, 0.340977403214053, 0.1139879604246, 0.0100908567063414},
    {0.0971676200107429, 0.308845222524055, 0.362623371437917, 0.188953325525116,
     0.0402095714148751, 0.0022008890872942},
    {0.0639644241143904, 0.239938645993528, 0.350159563238205, 0.247741118970808, 0.085438256055858,
     0.0123202033692932, 0.000437788257917735},
    {0.0421072107042137, 0.182076226633776, 0.317713781059942, 0.284438001373442, 0.136762237777383,
     0.0334038053504025, 0.00341677216705768, 8.19649337831348e-05},
    {0.0276143731612611, 0.135382228758844, 0.275287234472237, 0.298843335317801, 0.185319330279284,
     0.0648884482549063, 0.0117641910285655, 0.000885987580106899, 1.48711469943406e-05},
    {0.0179908225352538, 0.098795958606521, 0.229883817001211, 0.294113019095183, 0.224338977814325,
     0.103248806248099, 0.0275674109448523, 0.00383958622947123, 0.000218971708430106,
     2.62981665347889e-06},
    {0.0118717127796602, 0.0719533651951142, 0.187887160922585, 0.275808174097291,
     0.248904243244464, 0.141729867200712, 0.0502002976228256, 0.0104589649084984,
     0.0011361511274166, 4.96285981703436e-05, 4.3430326268572e-07},
};

TClassList<TKernelClass> &KernelClasses() {
    static TClassList<TKernelClass> list;
    return list;
}

// Stores a float property when it differs and reports the change.
template <class Changed> void SetIfDifferent(float &field, float value, Changed changed) {
    if (field != value) {
        field = value;
        changed();
    }
}

} // namespace

// ---- TCustomKernel ------------------------------------------------------------------------

void TCustomKernel::Assign(const TPublishedObject &source) {
    if (dynamic_cast<const TCustomKernel *>(&source) == nullptr) {
        TPublishedObject::Assign(source);
    }
    CopyPublishedProperties(source, *this, tkProperties);
}

void TCustomKernel::Changed() {
    if (FObserver != nullptr) {
        FObserver->Changed();
    }
}

// ---- Kernels without parameters -----------------------------------------------------------

float TBoxKernel::Filter(float value) const {
    return value >= -0.5f && value <= 0.5f ? 1.0f : 0.0f;
}

float TLinearKernel::Filter(float value) const {
    if (value >= -1 && value < 0) {
        return value + 1;
    }
    if (value >= 0 && value < 1) {
        return 1 - value;
    }
    return 0;
}

float TCosineKernel::Filter(float value) const {
    if (std::fabs(value) >= 1) {
        return 0;
    }
    return float((std::cos(kPi * double(value)) + 1) / 2);
}

float TSplineKernel::Filter(float value) const {
    const float a = std::fabs(value);
    if (a < 1) {
        return Cube(a) / 2 - Sq(a) + 2.0f / 3;
    }
    if (a < 2) {
        return Cube(2 - a) / 6;
    }
    return 0;
}

float TMitchellKernel::Filter(float value) const {
    const float a = std::fabs(value);
    if (a < 1) {
        return (21 * Cube(a) - 36 * Sq(a) + 16) / 18;
    }
    if (a < 2) {
        return (36 * Sq(a) - 7 * Cube(a) - 60 * a + 32) / 18;
    }
    return 0;
}

// ---- TCubicKernel -------------------------------------------------------------------------

float TCubicKernel::Filter(float value) const {
    const float a = std::fabs(value);
    if (a < 1) {
        return (FCoeff + 2) * Cube(a) - (FCoeff + 3) * Sq(a) + 1;
    }
    if (a < 2) {
        return FCoeff * (Cube(a) - 5 * Sq(a) + 8 * a - 4);
    }
    return 0;
}

void TCubicKernel::SetCoeff(float value) {
    SetIfDifferent(FCoeff, value, [this] { Changed(); });
}

void TCubicKernel::GetPropList(std::vector<TPropInfo> &list) const {
    list.push_back({"Coeff", tkFloat});
}

TPropertyValue TCubicKernel::GetPropValue(const std::string &name) const {
    return name == "Coeff" ? TPropertyValue(double(FCoeff)) : TCustomKernel::GetPropValue(name);
}

void TCubicKernel::SetPropValue(const std::string &name, const TPropertyValue &value) {
    if (name == "Coeff") {
        SetCoeff(float(NumberOf(name, value)));
    } else {
        TCustomKernel::SetPropValue(name, value);
    }
}

// ---- THermiteKernel -----------------------------------------------------------------------

float THermiteKernel::Filter(float value) const {
    const float z = std::floor(value);
    const float t = std::fabs(z - value);
    const float h10 = Cube(t) - 2 * Sq(t) + t;
    const float h11 = Cube(t) - Sq(t);
    const float h01 = 3 * Sq(t) - 2 * Cube(t);
    const float h00 = 1 - h01;
    const float k = (1 - FTension) / 2;
    const float m1 = k * (1 + FBias);
    const float m2 = k * (1 - FBias);
    if (z == -2) {
        return h11 * m2;
    }
    if (z == -1) {
        return h01 + m2 * h10 + (m1 - m2) * h11;
    }
    if (z == 0) {
        return (m1 - m2) * h10 + h00 - m1 * h11;
    }
    if (z == 1) {
        return -m1 * h10;
    }
    return 0;
}

void THermiteKernel::SetBias(float value) {
    SetIfDifferent(FBias, value, [this] { Changed(); });
}

void THermiteKernel::SetTension(float value) {
    SetIfDifferent(FTension, value, [this] { Changed(); });
}

void THermiteKernel::GetPropList(std::vector<TPropInfo> &list) const {
    list.push_back({"Bias", tkFloat});
    list.push_back({"Tension", tkFloat});
}

TPropertyValue THermiteKernel::GetPropValue(const std::string &name) const {
    if (name == "Bias") {
        return double(FBias);
    }
    if (name == "Tension") {
        return double(FTension);
    }
    return TCustomKernel::GetPropValue(name);
}

void THermiteKernel::SetPropValue(const std::string &name, const TPropertyValue &value) {
    if (name == "Bias") {
        SetBias(float(NumberOf(name, value)));
    } else if (name == "Tension") {
        SetTension(float(NumberOf(name, value)));
    } else {
        TCustomKernel::SetPropValue(name, value);
    }
}

// ---- TSinshKernel -------------------------------------------------------------------------

float TSinshKernel::Filter(float value) const {
    if (value == 0) {
        return 1;
    }
    const double x = kPi * double(value);
    return float(FCoeff * std::sin(x) / std::sinh(FCoeff * x));
}

void TSinshKernel::SetWidth(float value) {
    SetIfDifferent(FWidth, value, [this] { Changed(); });
}

void TSinshKernel::SetCoeff(float value) {
    if (value != 0) {
        SetIfDifferent(FCoeff, value, [this] { Changed(); });
    }
}

void TSinshKernel::GetPropList(std::vector<TPropInfo> &list) const {
    list.push_back({"Width", tkFloat});
    list.push_back({"Coeff", tkFloat});
}

TPropertyValue TSinshKernel::GetPropValue(const std::string &name) const {
    if (name == "Width") {
        return double(FWidth);
    }
    if (name == "Coeff") {
        return double(FCoeff);
    }
    return TCustomKernel::GetPropValue(name);
}

void TSinshKernel::SetPropValue(const std::string &name, const TPropertyValue &value) {
    if (name == "Width") {
        SetWidth(float(NumberOf(name, value)));
    } else if (name == "Coeff") {
        SetCoeff(float(NumberOf(name, value)));
    } else {
        TCustomKernel::SetPropValue(name, value);
    }
}

// ---- Windowed sinc kernels ----------------------------------------------------------------

float TWindowedSincKernel::Filter(float value) const {
    const float a = std::fabs(value);
    if (a >= FWidth) {
        return 0;
    }
    return Sinc(a) * WindowAt(a);
}

void TWindowedSincKernel::SetWidth(float value) {
    value = std::min(value, 16.0f);
    if (value <= 0 || value == FWidth) {
        return;
    }
    FWidth = value;
    FWidthReciprocal = 1 / value;
    Changed();
}

void TWindowedSincKernel::GetPropList(std::vector<TPropInfo> &list) const {
    list.push_back({"Width", tkFloat});
}

TPropertyValue TWindowedSincKernel::GetPropValue(const std::string &name) const {
    return name == "Width" ? TPropertyValue(double(FWidth)) : TCustomKernel::GetPropValue(name);
}

void TWindowedSincKernel::SetPropValue(const std::string &name, const TPropertyValue &value) {
    if (name == "Width") {
        SetWidth(float(NumberOf(name, value)));
    } else {
        TCustomKernel::SetPropValue(name, value);
    }
}

namespace {
// cos(pi x v / Width) in double precision, the windows' common term.
double WindowCos(float v, float widthReciprocal) {
    return std::cos(kPi * double(v) * double(widthReciprocal));
}
} // namespace

float TLanczosKernel::WindowAt(float value) const {
    return Sinc(value * FWidthReciprocal);
}

float TBlackmanKernel::WindowAt(float value) const {
    const double c = WindowCos(value, FWidthReciprocal);
    return float(0.34 + 0.5 * c + 0.16 * c * c);
}

float THannKernel::WindowAt(float value) const {
    return float(0.5 + 0.5 * WindowCos(value, FWidthReciprocal));
}

float THammingKernel::WindowAt(float value) const {
    return float(0.54 + 0.46 * WindowCos(value, FWidthReciprocal));
}

TGaussianKernel::TGaussianKernel() {
    SetSigma(1.33f);
}

float TGaussianKernel::WindowAt(float value) const {
    return float(std::exp(double(Sq(value)) * double(FSigmaReciprocalLn2)));
}

void TGaussianKernel::SetSigma(float value) {
    if (value != FSigma && value != 0) {
        FSigma = value;
        FSigmaReciprocalLn2 = float(-std::log(2.0) / value);
        Changed();
    }
}

void TGaussianKernel::GetPropList(std::vector<TPropInfo> &list) const {
    TWindowedSincKernel::GetPropList(list);
    list.push_back({"Sigma", tkFloat});
}

TPropertyValue TGaussianKernel::GetPropValue(const std::string &name) const {
    return name == "Sigma" ? TPropertyValue(double(FSigma))
                           : TWindowedSincKernel::GetPropValue(name);
}

void TGaussianKernel::SetPropValue(const std::string &name, const TPropertyValue &value) {
    if (name == "Sigma") {
        SetSigma(float(NumberOf(name, value)));
    } else {
        TWindowedSincKernel::SetPropValue(name, value);
    }
}

TAlbrechtKernel::TAlbrechtKernel() {
    SetTerms(7);
}

// The cosine polynomial by Horner's rule from the highest term, each step in single precision.
float TAlbrechtKernel::WindowAt(float value) const {
    const double c = WindowCos(value, FWidthReciprocal);
    float r = float(FCoefPointer[FTerms - 1]);
    for (int32_t k = FTerms - 2; k >= 0; --k) {
        r = float(double(r) * c + FCoefPointer[k]);
    }
    return r;
}

void TAlbrechtKernel::SetTerms(int32_t value) {
    value = std::clamp(value, 2, 11);
    if (value != FTerms) {
        FTerms = value;
        std::copy_n(kAlbrechtCoefficients[value - 2], 11, FCoefPointer);
        Changed();
    }
}

void TAlbrechtKernel::GetPropList(std::vector<TPropInfo> &list) const {
    TWindowedSincKernel::GetPropList(list);
    list.push_back({"Terms", tkInteger});
}

TPropertyValue TAlbrechtKernel::GetPropValue(const std::string &name) const {
    return name == "Terms" ? TPropertyValue(FTerms) : TWindowedSincKernel::GetPropValue(name);
}

void TAlbrechtKernel::SetPropValue(const std::string &name, const TPropertyValue &value) {
    if (name == "Terms") {
        SetTerms(int32_t(NumberOf(name, value)));
    } else {
        TWindowedSincKernel::SetPropValue(name, value);
    }
}

// ---- Registry -----------------------------------------------------------------------------

void RegisterKernel(const TKernelClass &kernelClass) {
    KernelClasses().Add(kernelClass);
}

const TClassList<TKernelClass> &KernelList() {
    return KernelClasses();
}

std::unique_ptr<TCustomKernel> CreateKernelByName(const std::string &className) {
    const TKernelClass *c = KernelClasses().Find(className);
    return c != nullptr ? std::unique_ptr<TCustomKernel>(c->Create()) : nullptr;
}

namespace detail {

template <class K> TCustomKernel *NewKernel() {
    return new K(); // the registry's factory: the caller owns the kernel
}

void RegisterKernelClasses() {
    RegisterKernel({"TBoxKernel", NewKernel<TBoxKernel>});
    RegisterKernel({"TLinearKernel", NewKernel<TLinearKernel>});
    RegisterKernel({"TCosineKernel", NewKernel<TCosineKernel>});
    RegisterKernel({"TSplineKernel", NewKernel<TSplineKernel>});
    RegisterKernel({"TCubicKernel", NewKernel<TCubicKernel>});
    RegisterKernel({"TMitchellKernel", NewKernel<TMitchellKernel>});
    RegisterKernel({"TAlbrechtKernel", NewKernel<TAlbrechtKernel>});
    RegisterKernel({"TLanczosKernel", NewKernel<TLanczosKernel>});
    RegisterKernel({"TGaussianKernel", NewKernel<TGaussianKernel>});
    RegisterKernel({"TBlackmanKernel", NewKernel<TBlackmanKernel>});
    RegisterKernel({"THannKernel", NewKernel<THannKernel>});
    RegisterKernel({"THammingKernel", NewKernel<THammingKernel>});
    RegisterKernel({"TSinshKernel", NewKernel<TSinshKernel>});
    RegisterKernel({"THermiteKernel", NewKernel<THermiteKernel>});
}

} // namespace detail

} // namespace raster
